#include "dealsampler.h"
#include "expertplayer.h"
#include "gameengine.h"
#include "masterplayer.h"
#include "playoutpolicy.h"
#include "seatobserver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

using namespace morlu;

namespace {

/// The positions are read from the engine's state; its messages go nowhere.
class SilentOutbox : public Outbox {
public:
    void toSlot(int, std::string_view) override {}
    void toAll(std::string_view) override {}
};

/// The engine's timers, fired by hand while positions are collected.
class ArmedTimers : public Timers {
public:
    void arm(TimerId id, int) override { m_armed[id == TimerId::Timer1 ? 0 : 1] = true; }
    void stop(TimerId id) override { m_armed[id == TimerId::Timer1 ? 0 : 1] = false; }
    bool armed(TimerId id) const { return m_armed[id == TimerId::Timer1 ? 0 : 1]; }

private:
    bool m_armed[2] = {false, false};
};

/// A position where an expert seat was about to decide, as the engine held it.
struct Decision {
    GameState state;
    RoundHistory history;
    int seat = 0;
    bool contract = false;
};

/**
 * Every decision of four experts over a few full games: card plays in all six contracts and, at each
 * round start, the director's choice of contract.
 */
const std::vector<Decision>& decisions()
{
    static const std::vector<Decision> all = [] {
        std::vector<Decision> found;
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            SilentOutbox outbox;
            ArmedTimers timers;
            Random random(seed);
            GameEngine engine(outbox, timers, random);
            for (int seat = 1; seat <= kSeatCount; ++seat)
                engine.setComputerLevel(seat, ComputerLevel::Expert);
            engine.startgame(StartGame{"Bench", "l"});
            int round = 0;
            while (engine.gamerunning()) {
                const GameState& s = engine.state();
                if (s.contractnumber != round) {
                    // The contract was chosen inside the round start; ask again from a choosing position.
                    round = s.contractnumber;
                    Decision choice{s, engine.history(), s.directorseat, true};
                    choice.state.chooserseat = s.directorseat;
                    choice.state.seats[s.directorseat].used[s.contract] = 0;
                    found.push_back(choice);
                }
                if (timers.armed(TimerId::ComputerTimer)) {
                    found.push_back({s, engine.history(), s.turnseat, false});
                    engine.timerFired(TimerId::ComputerTimer);
                } else if (timers.armed(TimerId::Timer1)) {
                    engine.timerFired(TimerId::Timer1);
                } else {
                    break;
                }
            }
        }
        return found;
    }();
    return all;
}

int decide(const SeatPlayer& expert, const Decision& d)
{
    const SeatView view = seatViewOf(d.state, d.history, d.seat);
    return d.contract ? expert.chooseContract(view) : expert.chooseCard(view);
}

/// Decisions per second over every kind of position, in the order games produce them.
void BM_ExpertDecisions(benchmark::State& state)
{
    const std::vector<Decision>& all = decisions();
    ExpertPlayer expert;
    expert.setSeed(42);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decide(expert, all[next]));
        next = (next + 1) % all.size();
    }
    state.counters["decisions/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExpertDecisions);

/// Milliseconds of processor time this thread has used: what one decision costs on one core, apart
/// from the time other programs on the machine take meanwhile.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

/**
 * One pass over every position of three full games, each decision timed alone: the median, the 99th
 * percentile and the slowest in processor time, and the slowest by the wall clock (which also counts
 * other programs).
 */
void decisionTimes(benchmark::State& state, const SeatPlayer& player)
{
    const std::vector<Decision>& all = decisions();
    // The first contract choice of a process also estimates the contracts' usual worth, once (about
    // 10 ms); that is done here, so the times are of the decisions themselves.
    ExpertPlayer::usualWorth(Domino);
    std::vector<double> times;
    double worstWall = 0;
    for (auto _ : state) {
        times.clear();
        for (const Decision& d : all) {
            const auto wall = std::chrono::steady_clock::now();
            const double begin = threadMilliseconds();
            benchmark::DoNotOptimize(decide(player, d));
            times.push_back(threadMilliseconds() - begin);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - wall;
            worstWall = std::max(worstWall, took.count());
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["decisions"] = static_cast<double>(times.size());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
    state.counters["worst_ms"] = times.back();
    state.counters["worst_wall_ms"] = worstWall;
}

void BM_ExpertDecisionTimes(benchmark::State& state)
{
    ExpertPlayer expert;
    expert.setSeed(42);
    decisionTimes(state, expert);
}
BENCHMARK(BM_ExpertDecisionTimes)->Iterations(3)->Unit(benchmark::kMillisecond);

/// The master's decisions on the same positions: at most 50 ms at the median and 250 ms at the slowest.
void BM_MasterDecisionTimes(benchmark::State& state)
{
    MasterPlayer master;
    master.setSeed(42);
    decisionTimes(state, master);
}
BENCHMARK(BM_MasterDecisionTimes)->Iterations(1)->Unit(benchmark::kMillisecond);

/// Whole rounds played from a fresh deal by the fast policy alone, per contract.
void BM_PlayoutPolicy(benchmark::State& state)
{
    const int contract = static_cast<int>(state.range(0));
    const PlayoutPolicy policy;
    PlayoutRandom random(7);
    long long cards = 0;
    for (auto _ : state) {
        DealSampler::Hands hands{};
        CardMask left = kAllCards;
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            for (int n = 0; n < kHandSlots; ++n) {
                CardMask pick = left;
                for (std::uint32_t skip = random.below(static_cast<std::uint32_t>(cardCount(left))); skip > 0; --skip)
                    pick &= pick - 1;
                hands[seat] |= pick & -pick;
                left &= ~(pick & -pick);
            }
        }
        Playout p = Playout::start(contract, 1, hands);
        p.finish([&](const Playout& q) {
            ++cards;
            return policy.choose(q, random);
        });
        benchmark::DoNotOptimize(p.money(1));
    }
    state.SetLabel(std::string(contractName(contract)));
    state.counters["playouts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cards/playout"] = static_cast<double>(cards) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PlayoutPolicy)->DenseRange(Morlu, Domino);

} // namespace
