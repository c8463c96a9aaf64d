#pragma once

#include "gamerecord.h"

#include <QByteArray>

#include <cstdint>
#include <string>

namespace morlu::test {

/**
 * A whole game of computer players as the table in seat 1 ("Ann", who only watches) records it: the
 * header and every line the host sends that seat from CMD_startgame to CMD_winner, each stamped with
 * the fake clock's milliseconds. @p length is the game length letter ("s", "h", "l").
 */
GameRecord recordedGame(std::uint32_t seed, const std::string& length);

/// @p record as the bytes of its file.
QByteArray recordFile(const GameRecord& record);

} // namespace morlu::test
