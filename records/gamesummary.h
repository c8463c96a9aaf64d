#pragma once

#include "gamerecord.h"

#include <QString>

#include <array>
#include <vector>

namespace morlu {

/// One round of a recorded game: who directed which contract, what each seat took or paid, the banks after.
struct RoundSummary {
    int round = 0;
    int director = 0; ///< seat 1..4
    int contract = 0; ///< 0 while none was chosen
    std::array<int, 4> change{};
    std::array<int, 4> banks{};
    bool operator==(const RoundSummary&) const = default;
};

/// What a table shows for a seat nobody holds before the host names its computer player.
inline constexpr const char* kUnnamedSeat = "<Waiting>";

/// A recorded game round by round, read from its lines with the protocol's message readers.
struct GameSummary {
    std::array<QString, 4> names; ///< seats 1..4, from the record's header (a computer player by its name)
    std::vector<RoundSummary> rounds;
    QString winner; ///< the winner text, empty when the game did not end
    QString error;  ///< a game message that could not be read, empty when all could
    int errorLine = 0; ///< its line in the file, from 1
};

/**
 * The rounds of @p record. A round's changes are its banks less the banks before it (the starting
 * banks for the first round this table saw from its start).
 */
GameSummary summarizeGame(const GameRecord& record);

} // namespace morlu
