#include "arenamatch.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

using namespace morlu;

namespace {

/// Few samples: these tests are about who decides, not how well.
ArenaMatch quickMatch()
{
    ArenaMatch match(7, "s", ExpertPlayer::Settings{6, 6});
    MasterPlayer::Settings master;
    master.samples = 6;
    master.extraSamples = 6;
    master.contractSamples = 6;
    master.nodesPerDeal = 400;
    match.setMasterSettings(master);
    return match;
}

std::array<ComputerLevel, 5> expertsWith(int seat, ComputerLevel level)
{
    std::array<ComputerLevel, 5> levels{};
    levels.fill(ComputerLevel::Expert);
    levels[seat] = level;
    return levels;
}

// A hint is what the host's master would do in the seat's place, from the same view and seed: a table
// that plays every hint it is given plays, card for card, the game a master seat plays.
TEST(ArenaMatchTest, ASeatThatFollowsEveryHintPlaysTheMastersGame)
{
    const ArenaMatch match = quickMatch();
    for (const auto& [deal, seat] : {std::pair{0ull, 1}, std::pair{1ull, 3}, std::pair{2ull, 4}}) {
        SCOPED_TRACE("deal " + std::to_string(deal) + ", seat " + std::to_string(seat));
        const ArenaMatch::Result master = match.play(deal, expertsWith(seat, ComputerLevel::Master));
        const ArenaMatch::Result hints =
            match.play(deal, expertsWith(seat, ComputerLevel::Master), seat, ArenaMatch::Driver::Hints);
        EXPECT_EQ(hints.bank, master.bank);
        ASSERT_EQ(hints.rounds.size(), master.rounds.size());
        for (std::size_t r = 0; r < master.rounds.size(); ++r) {
            EXPECT_EQ(hints.rounds[r].contract, master.rounds[r].contract) << "round " << r + 1;
            EXPECT_EQ(hints.rounds[r].money, master.rounds[r].money) << "round " << r + 1;
        }
    }
}

// Whoever decides for the measured seat, the host accepts every request and the game runs to its end:
// every round of a short game played, no money made or lost but moved between the seats.
TEST(ArenaMatchTest, EveryKindOfMeasuredSeatPlaysTheGameToItsEnd)
{
    const ArenaMatch match = quickMatch();
    for (const ArenaMatch::Driver driver :
         {ArenaMatch::Driver::Engine, ArenaMatch::Driver::Hints, ArenaMatch::Driver::Clairvoyant}) {
        SCOPED_TRACE(static_cast<int>(driver));
        const ArenaMatch::Result result = match.play(5, expertsWith(2, ComputerLevel::Master), 2, driver);
        EXPECT_EQ(result.rounds.size(), 8u);
        EXPECT_EQ(std::accumulate(result.bank.begin() + 1, result.bank.end(), 0), kSeatCount * kStartingBank);
        EXPECT_DOUBLE_EQ(std::accumulate(result.win.begin() + 1, result.win.end(), 0.0), 1.0);
    }
}

} // namespace
