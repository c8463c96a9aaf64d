#include "playtogether.h"

#include "fakehost.h"
#include "friendsline.h"
#include "messagebox.h"
#include "printers.h"
#include "profilefile.h"
#include "tablelink.h"
#include "tableoptions.h"
#include "tablerig.h"
#include "tablesettings.h"
#include "tchat.h"
#include "thostgame.h"
#include "tjoingame.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace morlu::test;

namespace {

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// What a choice starts: exactly the command line that hosts or joins that game.
TEST(PlayTogether, AChoiceRestartsWithTheCommandLineOfThatGame)
{
    struct HostRow {
        HostChoice choice;
        const char* arguments;
    };
    const HostRow hosts[] = {
        {{QStringLiteral("Ann"), 7772, true, false}, "Ann 127.0.0.1 true"},
        {{QStringLiteral("Ann"), 7000, true, false}, "Ann 127.0.0.1 true --port 7000"},
        {{QStringLiteral("Ann"), 7772, false, true}, "Ann 127.0.0.1 true --no-announce --upnp"},
    };
    for (const HostRow& row : hosts)
        EXPECT_EQ(PlayTogether::hostArguments(row.choice), words(row.arguments)) << row.arguments;

    struct JoinRow {
        const char* typed;
        const char* arguments;
    };
    const JoinRow joins[] = {
        {"192.168.1.20", "Bob 192.168.1.20 false"},
        {"ann-pc:7000", "Bob ann-pc false --port 7000"},
        {"[::1]:7000", "Bob ::1 false --port 7000"},
    };
    for (const JoinRow& row : joins) {
        const GameAddress address = GameAddress::parse(QString::fromLatin1(row.typed));
        EXPECT_EQ(PlayTogether::joinArguments(QStringLiteral("Bob"), address), words(row.arguments)) << row.typed;
    }
    // A name with a blank stays one argument.
    EXPECT_EQ(PlayTogether::joinArguments(QStringLiteral("Ann Lee"), GameAddress::parse(QStringLiteral("h"))).first(),
              QStringLiteral("Ann Lee"));
}

/// A table that waits (one argument: nothing to connect), whose restarts are recorded.
struct WaitingTable {
    WaitingTable() : table(makeTable({QStringLiteral("Ann")}, 7772)), closed(table.get(), &Tchat::tableClosed)
    {
        table->setRestarter([this](const QStringList& arguments) { restarts << arguments.join(QLatin1Char(' ')); });
        table->show();
        QApplication::setActiveWindow(table.get());
        MessageBox::clearAnswered();
    }
    ~WaitingTable() { MessageBox::setHook({}); }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : table.get();
        QTest::keyClick(target, key, modifiers);
    }
    void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    TableSettings settings() const { return TableSettings::read(ProfileFile(table->options().path())); }

    std::unique_ptr<Tchat> table;
    QSignalSpy closed;
    QStringList restarts;
};

struct PlayTogetherTable : ::testing::Test, WaitingTable {};

// Ctrl+J, an address typed, Enter: the program starts again joining that host and port, and the table
// leaves. Once that host answers, its address heads the recent hosts (at most eight, newest first, no
// repeats); a mistyped address that no host answers never gets there.
TEST_F(PlayTogetherTable, CtrlJTypedAddressAndEnterJoinThatHost)
{
    ProfileFile file(table->options().path());
    QStringList older;
    for (int n = 1; n <= 8; ++n)
        older << QStringLiteral("10.0.0.%1:7772").arg(n);
    TableSettings::writeRecentHosts(file, older);
    TableSettings::writePlayerName(file, QStringLiteral("Bob"));

    press(Qt::Key_J, Qt::ControlModifier);
    auto& dialog = table->playTogether().joinDialog();
    ASSERT_TRUE(dialog.isVisible());
    QApplication::setActiveWindow(&dialog); // what the window manager does for a new dialog
    EXPECT_TRUE(dialog.windowTitle().contains(QStringLiteral("Join Game")));
    ASSERT_EQ(QApplication::focusWidget(), dialog.findChild<QLineEdit*>(QStringLiteral("edit_address")));
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("edit_name"))->text(), QStringLiteral("Bob"));
    type(QStringLiteral("127.0.0.1:7000"));
    press(Qt::Key_Return);

    EXPECT_EQ(restarts, QStringList{QStringLiteral("Bob 127.0.0.1 false --port 7000")});
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(MessageBox::answered().isEmpty()) << "no game ran: nothing to ask";
    EXPECT_EQ(settings().recentHosts, older) << "not before the host answers";
    table->playTogether().rememberHost(QStringLiteral("127.0.0.1"), QStringLiteral("7000"));
    const QStringList recent = settings().recentHosts;
    ASSERT_EQ(recent.size(), 8);
    EXPECT_EQ(recent.first(), QStringLiteral("127.0.0.1:7000"));
    EXPECT_EQ(recent.last(), QStringLiteral("10.0.0.7:7772")) << "the oldest dropped";
}

// Host or join in a running game asks first; No keeps the game and the table.
TEST(PlayTogetherChoice, InARunningGameAChoiceAsksFirst)
{
    struct Row {
        bool running;
        QMessageBox::StandardButton answer;
        bool restarted;
    };
    const Row rows[] = {{false, QMessageBox::No, true}, {true, QMessageBox::No, false}, {true, QMessageBox::Yes, true}};
    for (const Row& row : rows) {
        WaitingTable rig;
        if (row.running)
            rig.table->link().dispatcher().dispatch("CMD_startgame+Ann+s+");
        MessageBox::setHook([&row](const QString&) { return row.answer; });
        rig.press(Qt::Key_H, Qt::ControlModifier);
        Thostgame& dialog = rig.table->playTogether().hostDialog();
        ASSERT_TRUE(dialog.isVisible());
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("edit_name"));
        name->setText(QStringLiteral("Ann"));
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(MessageBox::answered().size(), row.running ? 1 : 0);
        EXPECT_EQ(rig.restarts.size(), row.restarted ? 1 : 0) << row.running << row.answer;
        EXPECT_EQ(rig.closed.count(), row.restarted ? 1 : 0);
        EXPECT_EQ(rig.settings().playerName, row.restarted ? QStringLiteral("Ann") : TableSettings::loginName());
    }
}

// A failed join can go back to Join Game holding the address tried; a host whose port another program
// holds opens Host Game again on that port, and the table stays open for the choice. Such a table has no
// host: cancelling the dialog starts a solo game rather than leave a window waiting for nothing, while a
// table that has its game keeps it when Join Game or Host Game is cancelled.
TEST(PlayTogetherFailure, FailuresOpenTheirDialogAgainAndACancelStartsASoloGame)
{
    enum class Failure { None, JoinFailed, PortInUse };
    for (const Failure failure : {Failure::None, Failure::JoinFailed, Failure::PortInUse}) {
        WaitingTable rig;
        PlayTogether& play = rig.table->playTogether();
        QDialog* shown = nullptr;
        if (failure == Failure::None) {
            rig.press(Qt::Key_J, Qt::ControlModifier);
            shown = &play.joinDialog();
        } else if (failure == Failure::JoinFailed) {
            play.changeAddress(QStringLiteral("::1"), QStringLiteral("7000"));
            EXPECT_EQ(play.joinDialog().findChild<QLineEdit*>(QStringLiteral("edit_address"))->text(),
                      QStringLiteral("[::1]:7000"));
            shown = &play.joinDialog();
        } else {
            rig.table->setHostStarter([](const QString&, HostReach) {
                return HostStarted{0, QStringLiteral("Listen - Error Binding Socket"), true};
            });
            rig.table->hostpress();
            EXPECT_EQ(play.hostDialog().choice().port, 7772);
            EXPECT_TRUE(play.hostDialog().noteText().contains(QStringLiteral("in use")));
            shown = &play.hostDialog();
        }
        ASSERT_TRUE(shown->isVisible()) << int(failure);
        EXPECT_EQ(rig.closed.count(), 0);
        EXPECT_TRUE(MessageBox::answered().isEmpty());

        QTest::keyClick(shown, Qt::Key_Escape);
        EXPECT_FALSE(shown->isVisible());
        const bool stranded = failure != Failure::None;
        EXPECT_EQ(rig.restarts, stranded ? QStringList{QString()} : QStringList()) << int(failure);
        EXPECT_EQ(rig.closed.count(), stranded ? 1 : 0) << int(failure);
    }
}

// Once the table hosts a multi-player game, the addresses friends can type are in the chat and in the
// "Tell your friends" line: up, non-loopback interfaces with the bound port (IPv4 first, then IPv6 but
// not link-local), then the router's.
TEST(PlayTogetherHosting, TellsTheAddressesFriendsCanType)
{
    using lanaddresses::InterfaceAddress;
    FakeHost host;
    auto table = makeTable({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, 7772);
    table->playTogether().setInterfaces([] {
        return QList<InterfaceAddress>{
            {QStringLiteral("lo"), QStringLiteral("127.0.0.1"), true, true},
            {QStringLiteral("eth0"), QStringLiteral("192.168.1.20"), true, false},
            {QStringLiteral("eth0"), QString(), true, false},
            {QStringLiteral("wlan0"), QStringLiteral("10.1.1.5"), false, false},
            {QStringLiteral("eth1"), QStringLiteral("172.16.0.3"), true, false},
            {QStringLiteral("eth0"), QStringLiteral("fe80::1"), true, false},
            {QStringLiteral("eth0"), QStringLiteral("2001:db8::20"), true, false},
            {QStringLiteral("lo"), QStringLiteral("::1"), true, true},
            {QStringLiteral("eth1"), QStringLiteral("172.16.0.3"), true, false},
        };
    });
    const quint16 port = quint16(host.port());
    table->setHostStarter([port](const QString&, HostReach) { return HostStarted{port, QString()}; });
    table->processparams();
    const QString expected = QStringLiteral("192.168.1.20:%1, 172.16.0.3:%1, [2001:db8::20]:%1").arg(port);
    EXPECT_EQ(table->friendsLine().text(), expected);
    const QString chat = chatLines(*table).join(QLatin1Char('\n'));
    EXPECT_TRUE(chat.contains(QStringLiteral("Tell your friends:"))) << qPrintable(chat);
    EXPECT_TRUE(chat.contains(QStringLiteral("192.168.1.20:%1 or 172.16.0.3:%1").arg(port))) << qPrintable(chat);
    table->addReachableAddress(QStringLiteral("203.0.113.7:%1").arg(port));
    EXPECT_EQ(table->friendsLine().text(), expected + QStringLiteral(", 203.0.113.7:%1").arg(port));
    EXPECT_FALSE(table->friendsLine().isHidden());

    // A solo game is for this machine alone: nothing to tell.
    FakeHost soloHost;
    auto solo = makeTable({}, 7772);
    const quint16 soloPort = quint16(soloHost.port());
    solo->setHostStarter([soloPort](const QString&, HostReach) { return HostStarted{soloPort, QString()}; });
    solo->hostpress(HostReach::ThisMachine);
    EXPECT_TRUE(solo->friendsLine().isHidden());
}

} // namespace
