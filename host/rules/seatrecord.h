#pragma once

#include "cards.h"

#include <array>
#include <cstdint>
#include <string>

namespace morlu {

/**
 * The host's record of one connection slot; for slots 1..4 also the game state of that seat. A seat
 * keeps its game state when its table leaves, so the computer can play on from where the human was.
 */
struct SeatRecord {
    std::string name;                    ///< login name of the human; empty when no human holds it
    std::uint8_t inuse = 0;              ///< 1 while a human's connection holds the slot
    int socket = 0;                      ///< the session's id for the slot's connection; 0 = none
    std::int32_t bank = 0;               ///< dollars; 10000 at the start of a game; may go negative
    std::int32_t money = 0;              ///< change of bank in the last trick or domino round
    std::uint8_t justwatch = 0;          ///< 1 = the human only watches; the computer plays the seat
    std::uint8_t tookfirst = 0;          ///< TOUCHE: took trick 1
    std::uint8_t tooklast = 0;           ///< TOUCHE: took trick 8
    std::string botname;                 ///< name of the seat's computer player (at most 8 characters)
    std::array<std::int32_t, 9> cards{}; ///< hand slots 1..8: card code or 0
    std::array<std::uint8_t, 7> used{};  ///< contracts 1..6: 1 = already directed in this game
    std::uint8_t played = 0;             ///< 1 = already put a card on the current trick
    std::uint8_t out = 0;                ///< DOMINO: 1 = no cards left

    /// A seat is played by the computer when no human holds it or its human only watches.
    bool computerPlayed() const { return inuse == 0 || justwatch == 1; }
};

} // namespace morlu
