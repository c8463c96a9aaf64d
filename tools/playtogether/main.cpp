// morlu-playtogether: looks at playing together from the window.
//
//   morlu-playtogether --shots DIR     writes DIR/join-game.png, DIR/host-game.png, DIR/table-hosting.png
//   morlu-playtogether --measure N     joins a host on 127.0.0.1 N times through Join Game and prints the
//                                      time from Enter to "You are Connected." (the restart in-process)
//
// Run it under a display (xvfb-run -a) for pictures with the desktop's fonts.

#include "chatview.h"
#include "esockexception.h"
#include "friendsline.h"
#include "gamefinder.h"
#include "launchoptions.h"
#include "playtogether.h"
#include "tablelink.h"
#include "tchat.h"
#include "thostgame.h"
#include "tjoingame.h"
#include "tserver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

/// Two games on the network, as the real finder would list them.
class ShowcaseFinder : public morlu::GameFinder {
public:
    bool available() const override { return true; }
    QList<morlu::FoundGame> games() const override
    {
        return {{QStringLiteral("Ann's game"), QStringLiteral("192.168.1.20"), 7772, QStringLiteral("1.0.5"), 1, 3,
                 false},
                {QStringLiteral("Friday club"), QStringLiteral("192.168.1.31"), 7772, QStringLiteral("1.0.5"), 4, 0,
                 true}};
    }
};

HostStarter starterFor(morlu::TServer& server)
{
    return [&server](const QString& port, HostReach reach) {
        try {
            server.listen(port, reach == HostReach::ThisMachine ? QStringLiteral("127.0.0.1") : QString());
        } catch (const morlu::ESockException& error) {
            return HostStarted{0, QString::fromLatin1(error.what()), error.code() == 10048};
        }
        return HostStarted{server.port(), QString()};
    };
}

bool waitFor(const std::function<bool()>& done, int ms = 5000)
{
    return QTest::qWaitFor(done, ms);
}

bool connectedLine(Tchat& table)
{
    return table.mainchat().toPlainText().contains(QStringLiteral("You are Connected."));
}

bool save(QWidget& widget, const QString& path)
{
    QApplication::processEvents();
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

int shots(const QString& folder)
{
    QTemporaryDir settings;
    QDir().mkpath(folder);
    bool ok = true;

    ShowcaseFinder finder;
    Tjoingame join;
    join.setGameFinder(&finder);
    join.setPlayerName(QStringLiteral("Bob"));
    join.setRecentHosts({QStringLiteral("192.168.1.20:7772"), QStringLiteral("ann-laptop.local:7000")});
    join.showCentredOn(nullptr);
    join.findChild<QListWidget*>(QStringLiteral("list_found"))->setCurrentRow(0);
    ok = save(join, folder + QStringLiteral("/join-game.png")) && ok;

    Thostgame host;
    host.setPlayerName(QStringLiteral("Ann"));
    host.showCentredOn(nullptr);
    ok = save(host, folder + QStringLiteral("/host-game.png")) && ok;

    morlu::TServer server;
    Tchat table({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, QStringLiteral("7772"));
    table.setSettingsPath(settings.filePath(QStringLiteral("kavrinlobby.ini")));
    table.useTallyFile(settings.filePath(QStringLiteral("tally.tld")));
    table.setHostStarter(starterFor(server));
    // The addresses of a typical home network, not this machine's.
    table.playTogether().setInterfaces([] {
        return QList<lanaddresses::InterfaceAddress>{
            {QStringLiteral("eth0"), QStringLiteral("192.168.1.20"), true, false}};
    });
    table.show();
    if (!waitFor([&] { return connectedLine(table); })) {
        std::fprintf(stderr, "the hosting table did not connect (port 7772 in use?)\n");
        return 1;
    }
    table.hostNotice(QStringLiteral("Reachable from the internet at 203.0.113.7:7772"));
    table.addReachableAddress(QStringLiteral("203.0.113.7:7772"));
    QTest::qWait(200);
    ok = save(table, folder + QStringLiteral("/table-hosting.png")) && ok;
    return ok ? 0 : 1;
}

int measure(int rounds)
{
    QTemporaryDir settings;
    morlu::TServer server;
    server.listen(QStringLiteral("0"), QStringLiteral("127.0.0.1"));
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.port());
    std::vector<double> times;
    for (int n = 0; n < rounds; ++n) {
        Tchat waiting({QStringLiteral("Bob")}, QStringLiteral("7772"));
        waiting.setSettingsPath(settings.filePath(QStringLiteral("kavrinlobby.ini")));
        std::unique_ptr<Tchat> joined;
        // The program started again, here in the same process: the same command line, the same start.
        waiting.setRestarter([&](const QStringList& arguments) {
            const morlu::LaunchOptions options = morlu::LaunchOptions::parse(arguments);
            joined = std::make_unique<Tchat>(options.arguments, QString::number(options.port.value_or(7772)));
            joined->setSettingsPath(settings.filePath(QStringLiteral("kavrinlobby.ini")));
            joined->processparams();
        });
        waiting.show();
        waiting.playTogether().JoinGame1Click();
        auto* field = waiting.playTogether().joinDialog().findChild<QLineEdit*>(QStringLiteral("edit_address"));
        QTest::keyClicks(field, address);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(field, Qt::Key_Return);
        if (!joined || !waitFor([&] { return connectedLine(*joined); })) {
            std::fprintf(stderr, "round %d: not connected\n", n + 1);
            return 1;
        }
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        joined->close();
        QTest::qWait(20);
    }
    std::sort(times.begin(), times.end());
    std::printf("Enter in Join Game to \"You are Connected.\" on 127.0.0.1, %d rounds: median %.2f ms, "
                "min %.2f ms, max %.2f ms\n",
                rounds, times[times.size() / 2], times.front(), times.back());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() == 2 && args.at(0) == QLatin1String("--shots"))
        return shots(args.at(1));
    if (args.size() == 2 && args.at(0) == QLatin1String("--measure") && args.at(1).toInt() > 0)
        return measure(args.at(1).toInt());
    std::fprintf(stderr, "usage: morlu-playtogether --shots DIR | --measure N\n");
    return 2;
}
