#pragma once

#include "dominolayout.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace morlu::test {

/**
 * The decisions of a scripted human at one seat, made only from what the host sends: the hand from
 * CMD_mycards and the own CMD_placecard / CMD_dplacecard, the contract, the trick and the DOMINO
 * layout. On its turn it answers with a legal card (following suit, no forbidden first lead, only
 * cards that may be laid); when it must choose, with the lowest contract it has not used. A table
 * that came in mid-game knows less (no DOMINO layout): after a refusal it tries its next card.
 */
class ScriptedPlayer {
public:
    explicit ScriptedPlayer(int seat) : m_seat(seat) {}

    /// Reads one line from the host (without 0xFF); returns the request to send, or an empty string.
    std::string feed(std::string_view line);

    /// When false the player keeps track but never answers.
    bool enabled = true;

    int seat() const { return m_seat; }
    /// CMD_aerror lines addressed to this seat.
    int refusals() const { return m_refusals; }
    /// Cards played (accepted by the host).
    int played() const { return m_played; }
    int held() const;

private:
    std::string choose();
    std::string play();
    std::vector<int> candidates() const;

    int m_seat;
    std::array<int, 9> m_hand{}; ///< hand slots 1..8
    std::array<bool, 7> m_used{};
    int m_contract = 0;
    int m_trick = 0;
    int m_ledsuit = 0;
    int m_turnseat = 0; ///< last seat announced on turn in this round
    bool m_layoutKnown = true;
    DominoLayout m_layout;
    std::vector<int> m_tried; ///< slots refused on this turn
    int m_refusals = 0;
    int m_played = 0;
};

} // namespace morlu::test
