// Time for a replay to jump back to the last round of a full game's record: the table's game is reset
// and every line up to that round goes through the table's dispatch again (the model and the whole
// display: board, game log, chat), quiet and drawn once. A table window of its own, offscreen.

#include "fullgame.h"
#include "gamerecord.h"
#include "replaycontroller.h"
#include "tablereplay.h"
#include "tchat.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace morlu;

/// A full game's record as the watching table in seat 1 writes it, at @p path.
bool writeFullGameRecord(const QString& path)
{
    std::vector<long long> times;
    std::vector<std::string> lines = bench::fullGameTranscript(&times);
    // The record begins with the game; the login before it is not part of it.
    lines.erase(lines.begin());
    GameRecordWriter writer;
    if (!writer.open(path, {{"seat", "1"}, {"name", "Ann"}, {"name1", "Ann"}}))
        return false;
    for (std::size_t n = 0; n < lines.size(); ++n)
        writer.append(times[n], lines[n]);
    return writer.close(false);
}

void BM_ReplayJumpToLastRound(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.morlugame"));
    if (!writeFullGameRecord(path)) {
        state.SkipWithError("cannot write the record");
        return;
    }
    Tchat table;
    table.setSettingsPath(dir.filePath(QStringLiteral("settings.ini")));
    if (!table.openGameRecord(path)) {
        state.SkipWithError("cannot open the record");
        return;
    }
    ReplayController& replay = table.replay().controller();
    const int lastRound = replay.roundStarts().back();
    for (auto _ : state) {
        state.PauseTiming();
        replay.toEnd();
        state.ResumeTiming();
        replay.seek(lastRound);
    }
    state.counters["lines"] = double(lastRound);
    state.counters["rounds"] = double(replay.roundStarts().size());
}
BENCHMARK(BM_ReplayJumpToLastRound)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
