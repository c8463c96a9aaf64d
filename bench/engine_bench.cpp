#include "gameengine.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

using namespace morlu;

namespace {

/// Counts the lines and bytes the engine sends and drops them.
class CountingOutbox : public Outbox {
public:
    void toSlot(int, std::string_view line) override { count(line); }
    void toAll(std::string_view line) override { count(line); }

    long long lines = 0;
    long long bytes = 0;

private:
    void count(std::string_view line)
    {
        ++lines;
        bytes += static_cast<long long>(line.size());
    }
};

/// The engine's two timers, fired by hand: the bench loop fires whichever is armed.
class HandTimers : public Timers {
public:
    void arm(TimerId id, int) override { m_armed[index(id)] = true; }
    void stop(TimerId id) override { m_armed[index(id)] = false; }
    bool armed(TimerId id) const { return m_armed[index(id)]; }

private:
    static std::size_t index(TimerId id) { return id == TimerId::Timer1 ? 0 : 1; }
    std::array<bool, 2> m_armed{};
};

/// Plays a started game to its end, firing the computer's timer and the pause timer as they come due.
void playToTheEnd(GameEngine& engine, HandTimers& timers)
{
    while (engine.gamerunning()) {
        if (timers.armed(TimerId::ComputerTimer))
            engine.timerFired(TimerId::ComputerTimer);
        else if (timers.armed(TimerId::Timer1))
            engine.timerFired(TimerId::Timer1);
        else
            break;
    }
}

/// Complete 24-round games with four computer players, every message built.
void BM_EngineFullGame(benchmark::State& state)
{
    CountingOutbox outbox;
    HandTimers timers;
    Random random(20240611);
    GameEngine engine(outbox, timers, random);
    for (auto _ : state) {
        engine.startgame(StartGame{"Bench", "l"});
        playToTheEnd(engine, timers);
    }
    const auto games = static_cast<double>(state.iterations());
    state.counters["games/s"] = benchmark::Counter(games, benchmark::Counter::kIsRate);
    state.counters["lines/game"] = static_cast<double>(outbox.lines) / games;
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(outbox.lines), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(outbox.bytes);
}
BENCHMARK(BM_EngineFullGame);

/// Short games with one human seat that watches and so receives its cards: the catch-up path included.
void BM_EngineShortGameWithWatcher(benchmark::State& state)
{
    CountingOutbox outbox;
    HandTimers timers;
    Random random(7);
    GameEngine engine(outbox, timers, random);
    engine.seat(3).inuse = 1;
    engine.seat(3).name = "Watcher";
    for (auto _ : state) {
        engine.startgame(StartGame{"Bench", "s"});
        engine.seat(3).justwatch = 1;
        engine.catchUp(3);
        playToTheEnd(engine, timers);
    }
    state.counters["games/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EngineShortGameWithWatcher);

} // namespace
