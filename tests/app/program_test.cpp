#include "artpicture.h"
#include "board.h"
#include "fakegateway.h"
#include "playtogether.h"
#include "printers.h"
#include "programrig.h"
#include "socklookup.h"
#include "tablelink.h"
#include "tablemenus.h"
#include "tdownload.h"
#include "tempdir.h"
#include "thostgame.h"
#include "tsocklistener.h"
#include "waituntil.h"

#include <QAction>
#include <QCheckBox>

#include <gtest/gtest.h>

#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace morlu;
using namespace morlu::test;

namespace {

const QString kSolo = QStringLiteral("Loading Solo Game..Please wait.");
const QString kMulti = QStringLiteral("Loading Multi-player Game.. Please Wait.");

QString nameOf(Tchat& table, int seat)
{
    return table.board().seatName(seat);
}

/// The address the program's host listens on ("::" or "0.0.0.0" for every address).
QString listeningAddress(TServer& server)
{
    auto* tcp = qobject_cast<TSockListener*>(&server.listener());
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (tcp == nullptr || ::getsockname(tcp->sock().handle(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    return socklookup::addressText(reinterpret_cast<const sockaddr*>(&address));
}

/// Whether a host on every address takes IPv6 tables here (containers often have no IPv6 loopback).
bool hasIPv6Loopback()
{
    const auto loopback = socklookup::socketAddress(QStringLiteral("::1"), 0);
    const int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool ok = fd >= 0 && loopback && ::bind(fd, loopback->data(), loopback->length) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

TEST(TchatStart, ASoloStartHostsLogsInAsYouAndOffersTheStartButton)
{
    Program table({}, 0);
    table->show();
    ASSERT_TRUE(morlu::test::waitUntil([&] { return chatLines(*table).size() >= 3; }, kWait));
    EXPECT_EQ(chatLines(*table), (QStringList{kSolo, QStringLiteral("You are Connected."),
                                              QStringLiteral("Press Ctrl-i for quick instructions.")}));
    EXPECT_EQ(table->state().myname, QStringLiteral("You"));
    EXPECT_EQ(table->hostaddress(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(table->state().ishost);
    EXPECT_TRUE(table->state().connected);
    EXPECT_EQ(table->state().myseat, 1);
    EXPECT_EQ(nameOf(*table, 1), QStringLiteral("You"));
    EXPECT_TRUE(table->board().startButton()->isVisibleTo(&table->board()));
    EXPECT_TRUE(table->startGameAction()->isEnabled());
    EXPECT_TRUE(table.server().hosting());
    // Nobody else has a seat in a solo game: nobody else can reach its host.
    EXPECT_EQ(listeningAddress(table.server()), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(morlu::test::waitUntil([&] { return table.server().engine().botdelay() == 1000; }, kWait))
        << "table.server().engine().botdelay()";
    EXPECT_EQ(table.server().slot(1).name, "You");
}

// The offer stands until the player answers it, starts a game or opens Host Game or Join Game from the menu
// (it would cover the cards or the dialog).
TEST(TchatStart, ASoloStartOffersTheLobbyProgramUntilToldNotToOrAnswered)
{
    TempDir dir;
    const QString settings = dir.file(QStringLiteral("kavrinlobby.ini"));
    {
        Program table({}, 0);
        table->setSettingsPath(settings);
        table->processparams();
        ASSERT_TRUE(table->download().isVisible());
        QTest::mouseClick(table->download().findChild<QCheckBox*>(QStringLiteral("check_dontshow")), Qt::LeftButton);
    }
    const struct {
        const char* answer;
        std::function<void(Tchat&)> give;
    } rows[] = {
        {"Start Game", [](Tchat& t) { t.startGameAction()->trigger(); }},
        {"Host Game from the menu", [](Tchat& t) { emit t.menus().hostGameChosen(); }},
        {"Join Game from the menu", [](Tchat& t) { emit t.menus().joinGameChosen(); }},
    };
    for (const auto& row : rows) {
        Program table({}, 0);
        table->processparams();
        ASSERT_TRUE(table->download().isVisible()) << row.answer;
        ASSERT_TRUE(morlu::test::waitUntil([&] { return table->state().connected; }, kWait));
        row.give(*table);
        EXPECT_FALSE(table->download().isVisible()) << row.answer;
    }
    // Told not to, it is not offered again.
    Program table({}, 0);
    table->setSettingsPath(settings);
    table->processparams();
    EXPECT_FALSE(table->download().isVisible());
}

TEST(TchatStart, HostingWithThreeArgumentsConnectsToTheOwnMachineWhateverTheAddress)
{
    Program table({QStringLiteral("Ann"), QStringLiteral("192.0.2.1"), QStringLiteral("true")}, 0);
    table->processparams();
    ASSERT_TRUE(
        morlu::test::waitUntil([&] { return table->state().connected && chatLines(*table).size() >= 3; }, kWait));
    EXPECT_EQ(chatLines(*table).first(), kMulti);
    EXPECT_EQ(table->state().myname, QStringLiteral("Ann"));
    EXPECT_EQ(table->hostaddress(), QStringLiteral("192.0.2.1"));
    EXPECT_EQ(table->link().connection().peerName(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(table->state().ishost);
    EXPECT_EQ(listeningAddress(table.server()), hasIPv6Loopback() ? QStringLiteral("::") : QStringLiteral("0.0.0.0"));
    auto* lobby = table->findChild<TSock*>(QStringLiteral("Sock11"));
    ASSERT_NE(lobby, nullptr);
    EXPECT_EQ(lobby->HostName(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(lobby->PortName(), QStringLiteral("9001"));
    EXPECT_TRUE(lobby->hasHandle());
    ASSERT_TRUE(morlu::test::waitUntil([&] { return table.server().slot(1).name == std::string("Ann"); }, kWait))
        << "table.server().slot(1).name";
}

/// "Open the port on my router": a multi-player host shows the router's address and closes the port
/// when the program ends; a solo game never asks the router.
TEST(TchatStart, HostingOpensThePortOnTheRouterOnlyForAMultiPlayerGame)
{
    struct Row {
        const char* what;
        QStringList arguments;
        bool mapped;
    };
    const std::vector<Row> rows{
        {"multi-player host", {QStringLiteral("Ann"), QStringLiteral("192.0.2.1"), QStringLiteral("true")}, true},
        {"solo game", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeGateway gateway;
        qputenv("MORLU_UPNP_ROOTDESC", gateway.rootDescription().toUtf8());
        Program table(row.arguments, 0, [](LaunchOptions& options) { options.upnp = true; });
        table->processparams();
        ASSERT_TRUE(waitUntil([&] { return table->state().connected; }));
        const QString address = QStringLiteral("203.0.113.7:%1").arg(table.server().port());
        if (row.mapped) {
            // (QTRY_* would return quietly on a timeout.)
            ASSERT_TRUE(waitUntil([&] { return !table->reachableAddresses().isEmpty(); }))
                << chatLines(*table).join('\n').toStdString();
            EXPECT_EQ(table->reachableAddresses(), QStringList{address});
            // The notice shows the address whole, its port not cut off at the colon.
            EXPECT_TRUE(waitUntil([&] {
                return chatLines(*table).filter(QStringLiteral("Reachable from the internet at ") + address).size() ==
                       1;
            })) << chatLines(*table).join('\n').toStdString();
            EXPECT_EQ(gateway.mappings().keys(), QStringList{QString::number(table.server().port())});
        }
        // The program's end waits for the router to be told.
        table.reset();
        qunsetenv("MORLU_UPNP_ROOTDESC");
        EXPECT_TRUE(gateway.mappings().isEmpty());
        EXPECT_EQ(gateway.calls(QStringLiteral("AddPortMapping")).size(), row.mapped ? 1 : 0);
        EXPECT_EQ(gateway.calls(QStringLiteral("DeletePortMapping")).size(), row.mapped ? 1 : 0);
    }
}

class TchatJoin : public ::testing::TestWithParam<const char*> {};

TEST_P(TchatJoin, AnyThirdArgumentButTrueJoinsTheGivenAddress)
{
    TServer host;
    host.setLogger([](const QString&) {});
    host.listen(QStringLiteral("0"));
    Program table({QStringLiteral("Bea"), QStringLiteral("127.0.0.1"), QString::fromLatin1(GetParam())}, host.port());
    table->processparams();
    ASSERT_TRUE(
        morlu::test::waitUntil([&] { return table->state().connected && chatLines(*table).size() >= 3; }, kWait));
    EXPECT_EQ(chatLines(*table).first(), kMulti);
    EXPECT_FALSE(table->state().ishost);
    EXPECT_FALSE(table.server().hosting());
    ASSERT_TRUE(morlu::test::waitUntil([&] { return host.slot(1).name == std::string("Bea"); }, kWait))
        << "host.slot(1).name";
    // Slot 1 of a host it does not run: the host player's controls are Bea's all the same.
    EXPECT_EQ(table->state().myseat, 1);
    EXPECT_TRUE(table->board().startButton()->isVisibleTo(&table->board()));
    EXPECT_TRUE(table->startGameAction()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Table, TchatJoin, ::testing::Values("false", "True", "yes"));

TEST(TchatJoinAddress, TablesJoinAHostOnEveryAddressOverEitherFamily)
{
    // The address as the Join Game box hands it on ("[::1]:port" gives "::1"); the host logs, and
    // counts waiting logins by, the table's address as plain text of its own family.
    const struct {
        QString address;
        bool needsIPv6;
    } rows[] = {
        {QStringLiteral("127.0.0.1"), false},
        {QStringLiteral("::1"), true},
    };
    for (const auto& row : rows) {
        if (row.needsIPv6 && !hasIPv6Loopback())
            continue;
        QStringList log;
        TServer host;
        host.setLogger([&](const QString& line) { log.append(line); });
        host.listen(QStringLiteral("0"));
        Program table({QStringLiteral("Bea"), row.address, QStringLiteral("false")}, host.port());
        table->processparams();
        QTRY_VERIFY_WITH_TIMEOUT(table->state().connected, kWait);
        EXPECT_EQ(table->link().connection().peerName(), row.address);
        QTRY_COMPARE_WITH_TIMEOUT(host.slot(1).name, std::string("Bea"), kWait);
        EXPECT_TRUE(log.contains(QStringLiteral("Slot 1: connected from ") + row.address))
            << qPrintable(log.join(QLatin1Char('\n')));
    }
}

class TchatWaiting : public ::testing::TestWithParam<QStringList> {};

TEST_P(TchatWaiting, OneOrTwoArgumentsOnlyShowTheLoadingLine)
{
    Program table(GetParam(), 0);
    table->processparams();
    table->processparams();
    EXPECT_EQ(chatLines(*table), QStringList{kMulti});
    EXPECT_FALSE(table->link().connection().isOpen());
    EXPECT_FALSE(table.server().hosting());
    EXPECT_FALSE(table->board().startButton()->isVisibleTo(&table->board()));
    EXPECT_FALSE(table->startGameAction()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Table, TchatWaiting,
                         ::testing::Values(QStringList{QStringLiteral("Ann")},
                                           QStringList{QStringLiteral("Ann"), QStringLiteral("10.0.0.1")}));

// A port another program holds is no dead end: a solo game listens on a free port of this machine and
// plays; a multi-player host opens Host Game again on that port, and the table waits for the choice.
TEST(TchatStart, APortInUseIsNoDeadEnd)
{
    TServer other;
    other.setLogger([](const QString&) {});
    other.listen(QStringLiteral("0"));
    {
        MessageBoxes boxes;
        Program solo({}, other.port());
        solo->processparams();
        ASSERT_TRUE(waitUntil([&solo] { return solo->state().connected; }, kWait));
        EXPECT_TRUE(solo.server().hosting());
        EXPECT_NE(solo.server().port(), other.port());
        EXPECT_EQ(listeningAddress(solo.server()), QStringLiteral("127.0.0.1"));
        EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join(QLatin1Char('\n')));
    }
    MessageBoxes boxes;
    Program host({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, other.port());
    QSignalSpy closed(host.get(), &Tchat::tableClosed);
    host->processparams();
    const Thostgame& again = host->playTogether().hostDialog();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.choice().port, other.port());
    EXPECT_TRUE(again.noteText().contains(QStringLiteral("already in use"))) << qPrintable(again.noteText());
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_FALSE(host->state().ishost);
    EXPECT_FALSE(host.server().hosting());
    EXPECT_EQ(closed.count(), 0);
}

} // namespace
