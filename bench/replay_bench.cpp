// The table window (offscreen) taking a full game's lines. Time for a replay to jump back to the last
// round of a full game's record: the table's game is reset and every line up to that round goes through
// the table's dispatch again (the model and the whole display: board, game log, chat), quiet and drawn
// once. Time for a table to work through a full game's lines that arrived from its host at once, as after
// a catch-up or from a host that sends fast, with a screen reader listening.

#include "fullgame.h"
#include "gamerecord.h"
#include "messagebox.h"
#include "replaycontroller.h"
#include "tablelink.h"
#include "tablereplay.h"
#include "tchat.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
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

// Every line of a full game (as the table in seat 1 receives it) reaches the table's link at once and is
// handled one per tick of its timer, the event loop running between lines as it does between ticks.
// What a screen reader hears is kept up to date. The accessibility is on (counter "accessible" 1) only
// with a display and an accessibility bus that the table's bridge reaches, e.g. under Xvfb in a D-Bus
// session running at-spi-bus-launcher, with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 (see README.md).
void BM_TableReceivesFullGame(benchmark::State& state)
{
    std::vector<std::string> lines = bench::fullGameTranscript();
    // A table with no connection cannot answer its login; the game's lines follow it.
    lines.erase(lines.begin());
    int boxes = 0;
    MessageBox::setHook([&boxes](const QString&) {
        ++boxes;
        return QMessageBox::Ok;
    });
    QTemporaryDir dir;
    // The bridge to the accessibility bus comes up once the event loop has run a while.
    QElapsedTimer waited;
    waited.start();
    while (!QAccessible::isActive() && QGuiApplication::platformName() != QLatin1String("offscreen") &&
           waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Tchat table;
    table.setSettingsPath(dir.filePath(QStringLiteral("settings.ini")));
    TableLink& link = table.link();
    for (auto _ : state) {
        for (const std::string& line : lines)
            link.sockRead(line);
        while (link.processsocktimer())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    state.counters["accessible"] = QAccessible::isActive() ? 1 : 0;
    MessageBox::setHook({});
    if (boxes > 0)
        state.SkipWithError("the table opened a message box");
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.size()));
    state.counters["lines"] = double(lines.size());
}
BENCHMARK(BM_TableReceivesFullGame)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
