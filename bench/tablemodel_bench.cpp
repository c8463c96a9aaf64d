#include "fullgame.h"
#include "tablemodel.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace morlu;
using namespace morlu::bench;

// Lines per second the table's model takes: a whole full game's transcript, fed from a fresh model.
void BM_TableModelFullGame(benchmark::State& state)
{
    const std::vector<std::string> lines = fullGameTranscript();
    for (auto _ : state) {
        TableModel model;
        for (const std::string& line : lines)
            model.apply(line);
        benchmark::DoNotOptimize(model.seat(1).bank);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.size()));
    state.counters["lines"] = double(lines.size());
}
BENCHMARK(BM_TableModelFullGame)->Unit(benchmark::kMillisecond);

} // namespace
