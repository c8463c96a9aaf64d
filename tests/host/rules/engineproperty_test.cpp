#include "fakeclock.h"
#include "gamechecker.h"
#include "gameengine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

using namespace morlu;
using namespace morlu::test;

namespace {

int gameCount()
{
    if (const char* text = std::getenv("MORLU_ENGINE_PROPERTY_GAMES")) {
        const int count = std::atoi(text);
        if (count > 0)
            return count;
    }
    return 10000;
}

TEST(EngineProperty, ComputerGamesKeepEveryRule)
{
    GameChecker checker;
    FakeClock clock;
    Random random;
    GameEngine engine(checker, clock, random);
    checker.setEngine(engine);
    clock.setHandler([&](TimerId id) { engine.timerFired(id); });

    std::mt19937 chance(20240611);
    const std::array<const char*, 6> lengths{"s", "h", "l", "short", "half", "x"};
    const int games = gameCount();
    long long rounds = 0;
    for (int game = 0; game < games; ++game) {
        const std::uint32_t seed = static_cast<std::uint32_t>(chance());
        const std::string length = lengths[chance() % lengths.size()];
        random.setSeed(seed);
        engine.setBotdelay(static_cast<int>(chance() % 5) * 500);
        engine.setPauseTick(chance() % 2 == 0 ? 0 : 1000);
        // Some seats are held by humans who only watch, so the computer plays them and they get their cards.
        std::array<bool, 5> watching{};
        for (int seat = 1; seat <= 4; ++seat) {
            watching[seat] = chance() % 4 == 0;
            engine.seat(seat).inuse = watching[seat] ? 1 : 0;
            engine.seat(seat).name = watching[seat] ? "W" + std::to_string(seat) : "";
        }
        checker.newGame(length);
        engine.startgame(StartGame{"Host", length});
        for (int seat = 1; seat <= 4; ++seat) {
            if (watching[seat]) {
                engine.seat(seat).justwatch = 1;
                engine.computerTakesOver(seat);
            }
        }
        clock.runUntilIdle();
        ASSERT_EQ(checker.error(), "") << "game " << game << ", seed " << seed << ", length " << length;
        ASSERT_FALSE(engine.gamerunning()) << "the game stalled: game " << game << ", seed " << seed;
        checker.everyFreeContractDirectedOnce();
        ASSERT_EQ(checker.error(), "") << "game " << game << ", seed " << seed << ", length " << length;
        ASSERT_EQ(checker.rounds(), checker.totalRounds());
        ASSERT_EQ(checker.winners(), 1);
        rounds += checker.rounds();
    }
    EXPECT_GE(rounds, 8LL * games);
}

} // namespace
