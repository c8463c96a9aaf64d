// Time for a dropped table to get its seat back: from the moment its connection is killed (both ends
// shut down at the table's socket) until the table has handled its new seat key. The host answers the
// key request only after the login it follows, and sends the catch-up (game, banks, contracts used,
// hand) inside that login, so by then the table is in its own seat, shows its hand again and has had a
// request of its own answered: its player can play on. Everything runs in one process over the
// loopback: a hosting program (whose own seat is due to choose, so the game holds still) and a joined
// table in seat 2.

#include "board.h"
#include "cardplace.h"
#include "gamemessages.h"
#include "launchoptions.h"
#include "morluprogram.h"
#include "tableconnection.h"
#include "tablelink.h"
#include "tchat.h"
#include "tserver.h"
#include "tsock.h"
#include "tsockconnection.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <sys/socket.h>

using namespace morlu;

namespace {

/// Spins the event loop until @p done holds; false after 10 s.
template <typename Done> bool spin(Done&& done)
{
    const QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

std::unique_ptr<MorluProgram> program(const QStringList& arguments, int port, const QTemporaryDir& dir,
                                      const QString& name)
{
    LaunchOptions options;
    options.arguments = arguments;
    options.port = port;
    options.pauseTickMs = 0;
    auto made = std::make_unique<MorluProgram>(options);
    made->server().setLogger([](const QString&) {});
    made->server().setDispatchInterval(0);
    made->table().setSettingsPath(dir.filePath(name + QStringLiteral(".ini")));
    made->table().useTallyFile(dir.filePath(name + QStringLiteral("tally.tld")));
    return made;
}

bool handShown(Tchat& table, const TServer& host, int seat)
{
    for (int k = 1; k <= 8; ++k) {
        const CardPlace* place = table.board().handPlace(k);
        const int shown = place->isVisibleTo(&table.board()) && place->slot() != 0 ? place->picture() : 0;
        if (shown != host.engine().seat(seat).cards[std::size_t(k)])
            return false;
    }
    return true;
}

void BM_KilledConnectionToSeatPlayedAgain(benchmark::State& state)
{
    QTemporaryDir dir;
    auto host = program({}, 0, dir, QStringLiteral("host"));
    host->table().show();
    TServer& server = host->server();
    if (!spin([&] { return host->table().state().connected && server.port() != 0; })) {
        state.SkipWithError("the host did not start");
        return;
    }
    auto bea = program({QStringLiteral("Bea"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, server.port(),
                       dir, QStringLiteral("bea"));
    Tchat& table = bea->table();
    table.processparams();
    std::string line;
    if (!spin([&] { return server.slot(2).name == "Bea" && !table.state().seatkey.empty(); })) {
        state.SkipWithError("the table did not join");
        return;
    }
    host->table().connection().sendline(StartGame{"You", "s"}.write(line));
    if (!spin([&] { return server.engine().gamerunning() && handShown(table, server, 2); })) {
        state.SkipWithError("no game");
        return;
    }

    for (auto _ : state) {
        const std::string oldKey = table.state().seatkey;
        QElapsedTimer clock;
        clock.start();
        auto* tcp = dynamic_cast<TSockConnection*>(&table.link().connection());
        ::shutdown(tcp->sock().handle(), SHUT_RDWR);
        const bool back = spin([&] {
            const std::string& key = table.state().seatkey;
            return !key.empty() && key != oldKey && !table.connection().reconnecting();
        });
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!back || table.state().myseat != 2 || server.slot(2).name != "Bea" || !handShown(table, server, 2) ||
            server.slotcount() != 2) {
            state.SkipWithError("the table did not come back to its seat with its hand");
            return;
        }
    }
}
BENCHMARK(BM_KilledConnectionToSeatPlayedAgain)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
