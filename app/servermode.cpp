#include "servermode.h"

#include "esockexception.h"
#include "launchoptions.h"
#include "tserver.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace morlu {

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const char byte = 1;
    // Nothing but write() is safe here; the event loop reads the byte and quits.
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

/// Turns SIGINT and SIGTERM into a readable byte on a socket the event loop watches.
bool installStopSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

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
    if (!installStopSignals()) {
        printErr(QStringLiteral("morlu: cannot install the signal handlers\n"));
        return 1;
    }
    QSocketNotifier stopNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        QCoreApplication::quit();
    });

    TServer server;
    server.setSeatOneTakeover(true);
    if (options.seed)
        server.random().setSeed(*options.seed);
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
