#include "servermode.h"

#include "esockexception.h"
#include "lanhosting.h"
#include "launchoptions.h"
#include "sockerrors.h"
#include "stopsignals.h"
#include "tserver.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <cstdio>
#include <memory>

namespace morlu {

namespace {

void printErr(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void printOut(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

/// The announcement and the router's port of a dedicated host that listens on @p port.
std::unique_ptr<LanHosting> startLanHosting(const LaunchOptions& options, TServer& server)
{
    LanHostingOptions lan;
    lan.name = options.name.value_or(QStringLiteral("Morlu on %1").arg(QSysInfo::machineHostName()));
    lan.port = server.port();
    lan.announce = options.announce;
    lan.upnp = options.upnp;
    auto hosting = std::make_unique<LanHosting>(lan, [](const QString& text) { printErr(text + QLatin1Char('\n')); });
    QObject::connect(hosting.get(), &LanHosting::notice,
                     [](const QString& text) { printOut(text + QLatin1Char('\n')); });
    QObject::connect(&server, &TServer::seatsChanged, hosting.get(), [&server, h = hosting.get()] {
        h->setSeats({server.seatedPlayers(), server.freeSeats(), server.playing()});
    });
    return hosting;
}

} // namespace

int runServer(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const LaunchOptions options = LaunchOptions::parse(args);
    if (!options.error.isEmpty() || !options.arguments.isEmpty()) {
        const QString what = options.error.isEmpty()
                                 ? QStringLiteral("unexpected argument %1").arg(options.arguments.first())
                                 : options.error;
        printErr(QStringLiteral("morlu: %1\n").arg(what) + LaunchOptions::usage());
        return 2;
    }

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Morlu"));
    StopSignals stop;
    if (!stop.installed()) {
        printErr(QStringLiteral("morlu: cannot install the signal handlers\n"));
        return 1;
    }
    TServer server;
    QObject::connect(&stop, &StopSignals::stopRequested, &app, [&server] {
        // Asked to stop: the tables hear that the host ends rather than trying to come back.
        server.announceClosing();
        QCoreApplication::quit();
    });
    server.setSeatOneTakeover(true);
    if (options.seed)
        server.useSeed(*options.seed);
    if (options.pauseTickMs)
        server.engine().setPauseTick(*options.pauseTickMs);
    if (options.computer) {
        for (int seat = 1; seat <= kSeatCount; ++seat)
            server.engine().setComputerLevel(seat, *options.computer);
    }
    try {
        server.listen(QString::number(options.port.value_or(7772)));
    } catch (const ESockException& error) {
        printErr(QString::fromLatin1(error.what()) + QLatin1Char('\n'));
        // The operator hears which port and what to do about it.
        if (error.code() == sockerrors::kAddressInUse)
            printErr(QStringLiteral("morlu: port %1 is already in use on this machine (another game may be running); "
                                    "end it, or choose another port with --port N\n")
                         .arg(options.port.value_or(7772)));
        return 1;
    }
    std::fprintf(stdout, "Listening on port %u\n", unsigned(server.port()));
    std::fflush(stdout);
    const std::unique_ptr<LanHosting> lan = startLanHosting(options, server);
    const int status = QCoreApplication::exec();
    // The host ends: the announcement goes and the router forgets the port.
    lan->end();
    return status;
}

} // namespace morlu
