#include "servermode.h"

#include "esockexception.h"
#include "launchoptions.h"
#include "stopsignals.h"
#include "tserver.h"

#include <QCoreApplication>

#include <cstdio>

namespace morlu {

namespace {

void printErr(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
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
        return 1;
    }
    std::fprintf(stdout, "Listening on port %u\n", unsigned(server.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace morlu
