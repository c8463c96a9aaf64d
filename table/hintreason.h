#pragma once

#include "cards.h"
#include "playrule.h"

#include <QString>

#include <array>

/**
 * Why the host's hint is a good move, in a few words for the game log, where they follow the card named
 * (a reason for a card calls it "it"), worked out on the table from what the table itself sees (the own
 * hand, the trick, the DOMINO layout) and the contracts' rules. The host only names the card or the
 * contract; these texts are the table's reading of it, and they say only what is plainly true of the
 * position ("GUILLOTINE: your hand holds no Spades and no Hearts above 9"). Where nothing short and true
 * can be said, the text is empty and the hint stands alone.
 */
struct HintReason {
    using Hand = std::array<int, morlu::kHandSlots + 1>;
    using Trick = std::array<int, morlu::kSeatCount + 1>;

    /** Why the director should choose @p contract (1..6) with @p hand (slots 1..8, 0 for none). */
    static QString forContract(int contract, const Hand& hand);
    /**
     * Why the card in hand slot @p slot is the one to play in @p position, with @p trick the cards on the
     * current trick by seat (0 for none).
     */
    static QString forCard(const morlu::PlayPosition& position, const Trick& trick, int slot);
    /** How the game log names a card: "the Queen of Spades". */
    static QString cardText(int card);
};
