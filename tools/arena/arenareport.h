#pragma once

#include "arenamatch.h"
#include "arenastat.h"

#include <array>
#include <string>

namespace morlu {

/**
 * The arena's tallies and its printed tables. Each seat's game counts once: its win share (1, or 1/k
 * when k seats tie for the highest bank) and its money (final bank minus the starting bank). Per
 * contract it counts the seat's rounds of that contract: the money of the round, and whether the seat
 * won the round, which means it ended the round no poorer than the average of the other three; the
 * money of a round adds up to nothing, so that is a round in which the seat paid nothing.
 */
class ArenaReport {
public:
    /// Tallies of one kind of player in one kind of seat.
    struct Side {
        ArenaStat win;
        ArenaStat money;
        std::array<ArenaStat, kContractCount + 1> roundMoney;
        std::array<ArenaStat, kContractCount + 1> roundWon;

        /// Counts @p seat's game in @p result.
        void add(const ArenaMatch::Result& result, int seat);
        void merge(const Side& other);
    };

    Side expert;       ///< the measured player against three opponents, in each seat in turn
    Side classic;      ///< an opponent in the same seats of the same deals
    ArenaStat winDiff; ///< measured player minus opponent, paired by deal and seat
    ArenaStat moneyDiff;
    Side mirror; ///< the measured player among three of its own level

    std::string playerName = "Expert";    ///< the measured player's level, as the tables name it
    std::string opponentName = "Classic"; ///< the level of the three others

    void merge(const ArenaReport& other);

    /// The tables in Markdown, headed by @p title.
    std::string format(const std::string& title) const;
};

} // namespace morlu
