#include "masterplayer.h"

#include "enginefixture.h"
#include "gameengine.h"
#include "gamemessages.h"

#include <gtest/gtest.h>

#include <optional>

using namespace morlu;
using namespace morlu::test;

namespace {

CardMask cards(std::initializer_list<int> codes)
{
    CardMask mask = 0;
    for (const int code : codes)
        mask |= cardBit(code);
    return mask;
}

// The last tricks searched with every hand known. Hearts run 17 (7) .. 24 (A), K♥ is 22.
TEST(MasterSearchTest, PlaysTheLastTricksForEverySeatsOwnMoney)
{
    struct Row {
        const char* what;
        int contract;
        int tricknumber;
        int turn;
        std::array<CardMask, kSeatCount + 1> hands;
        int nodes;
        std::optional<MasterPlayer::Money> money; ///< nothing: the search runs out of nodes
    };
    // MORLU, seat 1 directs. Seat 2 holding K♥ and 7♦ leads K♥ at once while seat 3 must follow with
    // its A♥; should it lead 7♦, seat 3 throws the A♥ on it and seat 2 takes its own king last.
    const std::array<CardMask, kSeatCount + 1> leadTheKing{0, cards({10, 11}), cards({22, 1}), cards({24, 9}),
                                                           cards({17, 3})};
    const Row rows[] = {
        {"one forced trick", Morlu, 8, 2, {0, cards({1}), cards({22}), cards({17}), cards({18})}, 10,
         MasterPlayer::Money{0, 800, -800, 0, 0}},
        {"leads the king while the ace must fall on it", Morlu, 7, 2, leadTheKing, 1000,
         MasterPlayer::Money{0, 800, 0, -800, 0}},
        {"the same with too few nodes", Morlu, 7, 2, leadTheKing, 3, std::nullopt},
        // TOUCHE, seat 1 directs with 7♣ and A♣ against one club each: it leads the 7♣ so that seat 4
        // takes trick 7 and then the costly trick 8 with its 9♦.
        {"the director ducks so that another seat takes the last trick", Touche, 7, 1,
         {0, cards({9, 16}), cards({10, 1}), cards({11, 2}), cards({12, 3})}, 1000,
         MasterPlayer::Money{0, 400, 0, 0, -400}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Playout p;
        p.setHands(row.hands);
        p.setTrick(row.contract, 1, row.tricknumber, row.turn);
        int nodes = row.nodes;
        MasterPlayer::Money money{};
        const bool done = MasterPlayer::searchExact(p, nodes, money);
        ASSERT_EQ(done, row.money.has_value());
        if (done) {
            EXPECT_EQ(money, *row.money);
        }
    }
}

/// A game in which the computer plays every seat at the master level, with small counts.
std::vector<std::string> playMasterGame(const std::string& length, std::uint32_t seed)
{
    RecordingOutbox outbox;
    FakeClock clock;
    Random random(seed);
    GameEngine engine(outbox, clock, random);
    clock.setHandler([&](TimerId id) { engine.timerFired(id); });
    engine.setExpertSeed(seed);
    engine.master().setSettings({6, 6, 2, 12, 800, 8});
    for (int seat = 1; seat <= kSeatCount; ++seat)
        engine.setComputerLevel(seat, ComputerLevel::Master);
    engine.startgame(StartGame{"Host", length});
    clock.runUntilIdle();
    EXPECT_TRUE(outbox.lines(CMD_aerror).empty()) << outbox.lines(CMD_aerror).front();
    EXPECT_FALSE(engine.gamerunning()) << "the game stalled";
    EXPECT_EQ(outbox.lines(CMD_winner).size(), 1u);
    return outbox.transcript();
}

// Every card the master plays is one the host accepts, the game ends, and a seed repeats the game.
TEST(MasterGameTest, PlaysWholeGamesTheHostAcceptsAndRepeatsThemUnderASeed)
{
    for (const std::uint32_t seed : {3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<std::string> first = playMasterGame("s", seed);
        EXPECT_EQ(playMasterGame("s", seed), first);
    }
}

} // namespace
