#pragma once

#include "cards.h"

#include <QString>

#include <string>

/**
 * What a table knows of itself between messages: its slot, name and connection. What the host has said
 * about the game is the model's (TableModel), never a copy here.
 */
struct TableState {
    int myseat = 0;         ///< slot the host gave this table: 1..4 a seat, 5..9 a spectator; 0 before login
    QString myname;         ///< the player's name ("You" in a solo game)
    bool connected = false; ///< the host has given this table its slot; never cleared
    bool ishost = false;    ///< this program also runs the host
    /// The key that brings this table back to `myseat` after a dropped connection; empty when the host
    /// gave none (an older host, the host player's own table).
    std::string seatkey;
    /// The connection is a new one after a drop: the next slot offer is answered with `seatkey`.
    bool rejoining = false;

    bool isPlayerSeat() const { return myseat >= 1 && myseat <= morlu::kSeatCount; }
    /// The host player: the table in slot 1, which alone may start games and remove tables, whether it
    /// runs the host itself or joined a dedicated one.
    bool isHostPlayer() const { return connected && myseat == 1; }
};
