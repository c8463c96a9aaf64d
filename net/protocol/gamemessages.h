#pragma once

#include "commands.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morlu {

// Layouts of the game messages: the tables' requests (start a game, choose a contract, play a card)
// and the host's announcements that drive every board. Same conventions as sessionmessages.h: each
// struct has write(buffer), which clears the buffer and writes the whole line, 0xFF included, without
// allocating once the buffer is large enough, and read(rest), which reads the rest after "CMD_word+"
// field by field from the left and throws FieldError on a missing or non-integer numeric field.
// Flags are written "t" and "f"; on reading only "t" is true.
//
// The engine builds these lines at a high rate: build them into one reused buffer, and use the span
// writers of the list messages rather than filling their vectors.

/**
 * "name+length+", both ways: a table's request and the host's announcement (the host sends the
 * length's first character only; it treats every length but "s" and "h" as a full game).
 *
 * The name may contain "+": it is read as everything before the "+" that opens the last field, so a
 * name such as "A+B" no longer pushes part of itself into the length. A line without its trailing plus
 * is read strictly from the left.
 */
struct StartGame {
    static constexpr std::string_view command = CMD_startgame;
    std::string_view name;
    std::string_view length;

    std::string_view write(std::string& buffer) const;
    static StartGame read(std::string_view rest);
    bool operator==(const StartGame&) const = default;
};

/// table -> host (also built by the computer players): "seat+contract+".
struct ChooseType {
    static constexpr std::string_view command = CMD_choosetype;
    int seat = 0;
    int contract = 0;

    std::string_view write(std::string& buffer) const;
    static ChooseType read(std::string_view rest);
    bool operator==(const ChooseType&) const = default;
};

/// table -> host (also built by the computer players): "seat+handslot+", the hand slot 1..8, not the card.
struct PlayCard {
    static constexpr std::string_view command = CMD_playcard;
    int seat = 0;
    int handSlot = 0;

    std::string_view write(std::string& buffer) const;
    static PlayCard read(std::string_view rest);
    bool operator==(const PlayCard&) const = default;
};

/// host -> all: "director+round+", the round counted from 1.
struct StartRound {
    static constexpr std::string_view command = CMD_startround;
    int seat = 0;
    int round = 0;

    std::string_view write(std::string& buffer) const;
    static StartRound read(std::string_view rest);
    bool operator==(const StartRound&) const = default;
};

/// One held card of CMD_mycards: its hand slot and card code.
struct HandCard {
    int slot = 0;
    int card = 0;
    bool operator==(const HandCard&) const = default;
};

/**
 * host -> the seat: "seat+slot+card+slot+card...", no trailing plus; with no cards the line is the
 * seat alone. Read until the line is used up; a slot without its card throws FieldError.
 */
struct MyCards {
    static constexpr std::string_view command = CMD_mycards;
    int seat = 0;
    std::vector<HandCard> cards;

    static std::string_view write(std::string& buffer, int seat, std::span<const HandCard> cards);
    std::string_view write(std::string& buffer) const { return write(buffer, seat, cards); }
    static MyCards read(std::string_view rest);
    bool operator==(const MyCards&) const = default;
};

/// host -> all: "director+contract+0+" (the third field is always "0" and is not read).
struct ChooseHand {
    static constexpr std::string_view command = CMD_choosehand;
    int seat = 0;
    int contract = 0;

    std::string_view write(std::string& buffer) const;
    static ChooseHand read(std::string_view rest);
    bool operator==(const ChooseHand&) const = default;
};

/// host -> the director: "director+contract+", a contract he has already used.
struct AlreadyChoose {
    static constexpr std::string_view command = CMD_alreadychoose;
    int seat = 0;
    int contract = 0;

    std::string_view write(std::string& buffer) const;
    static AlreadyChoose read(std::string_view rest);
    bool operator==(const AlreadyChoose&) const = default;
};

/// host -> all before each trick: exactly "CMD_starthand+".
using StartHand = EmptyMessage<CMD_starthand>;

/// "seat+" with one seat field: CMD_nextplayer (seat on turn), CMD_endhand (taker), CMD_dendhand (loser).
template <const std::string_view& Word> struct SeatMessage {
    static constexpr std::string_view command = Word;
    int seat = 0;

    std::string_view write(std::string& buffer) const;
    static SeatMessage read(std::string_view rest);
    bool operator==(const SeatMessage&) const = default;
};
using NextPlayer = SeatMessage<CMD_nextplayer>;
using EndHand = SeatMessage<CMD_endhand>;
using DEndHand = SeatMessage<CMD_dendhand>;

/// host -> all: "seat+card+handslot+lead+", lead "t" when the card opened the trick.
struct PlaceCard {
    static constexpr std::string_view command = CMD_placecard;
    int seat = 0;
    int card = 0;
    int handSlot = 0;
    bool lead = false;

    std::string_view write(std::string& buffer) const;
    static PlaceCard read(std::string_view rest);
    bool operator==(const PlaceCard&) const = default;
};

/// host -> the seat: "seat+code+", a refused play (codes 1..5).
struct AError {
    static constexpr std::string_view command = CMD_aerror;
    int seat = 0;
    int code = 0;

    std::string_view write(std::string& buffer) const;
    static AError read(std::string_view rest);
    bool operator==(const AError&) const = default;
};

/// host -> all: "seat+kind+director+roundover+", one line per thing charged (kinds 1..5).
struct Took {
    static constexpr std::string_view command = CMD_took;
    int seat = 0;
    int kind = 0;
    bool director = false;  ///< the taker is the director; nobody pays
    bool roundOver = false; ///< that was the contract's last money card

    std::string_view write(std::string& buffer) const;
    static Took read(std::string_view rest);
    bool operator==(const Took&) const = default;
};

/// One seat's group of CMD_scores: the seat, its bank and the change in the last trick or DOMINO hand.
struct ScoreGroup {
    int seat = 0;
    int bank = 0;
    int money = 0;
    bool operator==(const ScoreGroup&) const = default;
};

/**
 * host -> all: "seat+bank+money+seat+bank+money..." for seats 1..4 (twelve fields), no trailing plus.
 * Read group by group until the line is used up; an incomplete group throws FieldError.
 */
struct Scores {
    static constexpr std::string_view command = CMD_scores;
    std::vector<ScoreGroup> groups;

    static std::string_view write(std::string& buffer, std::span<const ScoreGroup> groups);
    std::string_view write(std::string& buffer) const { return write(buffer, groups); }
    static Scores read(std::string_view rest);
    bool operator==(const Scores&) const = default;
};

/// host -> all: "seat+suit+card+handslot+dominostart+cardsleft+", an accepted DOMINO play.
struct DPlaceCard {
    static constexpr std::string_view command = CMD_dplacecard;
    int seat = 0;
    int suit = 0;
    int card = 0;
    int handSlot = 0;
    int dominoStart = 0; ///< rank 1..8 of the round's first card
    int cardsLeft = 0;

    std::string_view write(std::string& buffer) const;
    static DPlaceCard read(std::string_view rest);
    bool operator==(const DPlaceCard&) const = default;
};

/**
 * host -> the seat at a catch-up: "seat+code+code...", the contracts the seat has used, ascending, no
 * trailing plus; with none the line is the seat alone. Read until the line is used up.
 */
struct HandsUsed {
    static constexpr std::string_view command = CMD_handsused;
    int seat = 0;
    std::vector<int> contracts;

    static std::string_view write(std::string& buffer, int seat, std::span<const int> contracts);
    std::string_view write(std::string& buffer) const { return write(buffer, seat, contracts); }
    static HandsUsed read(std::string_view rest);
    bool operator==(const HandsUsed&) const = default;
};

/**
 * host -> a table that logs in while a game runs: twelve fields, trailing plus:
 * "slot+round+length+director+turn+contract+dominostart+leader+card1+card2+card3+card4+".
 */
struct AGame {
    static constexpr std::string_view command = CMD_agame;
    int slot = 0;            ///< the receiver's slot
    int round = 0;           ///< number of the current round, from 1
    std::string_view length; ///< game length letter
    int director = 0;
    int turn = 0;
    int contract = 0;
    int dominoStart = 0;        ///< 0 before the first DOMINO card
    int leader = 0;             ///< seat that led the current trick, 0 for none
    std::array<int, 4> trick{}; ///< card of seats 1..4 on the current trick, 0 for none

    std::string_view write(std::string& buffer) const;
    static AGame read(std::string_view rest);
    bool operator==(const AGame&) const = default;
};

/**
 * host -> all after the last round: "text+", the winner's name or the tied names joined by " and ".
 * The text is everything before the trailing plus, so a name holding "+" arrives whole; a line without
 * the trailing plus is read strictly (the text before the first "+", empty without one).
 */
struct Winner {
    static constexpr std::string_view command = CMD_winner;
    std::string_view text;

    std::string_view write(std::string& buffer) const;
    static Winner read(std::string_view rest);
    bool operator==(const Winner&) const = default;
};

} // namespace morlu
