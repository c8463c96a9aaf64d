#include "tableconnection.h"

#include "fakehost.h"
#include "printers.h"
#include "tablelink.h"
#include "tablerecorders.h"
#include "tablestate.h"
#include "tsock.h"
#include "waituntil.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace morlu::test;

namespace {

class TableConnectionTest : public ::testing::Test {
protected:
    TableConnectionTest() { connection.registerOn(commands); }

    TableState state;
    DialogRecorder dialogs;
    TableConnection connection{state, dialogs};
    QSignalSpy sent{&connection, &TableConnection::lineSent};
    QSignalSpy ended{&connection, &TableConnection::ended};
    morlu::Dispatcher<> commands;
};

// A host that cannot listen leaves the table unhosted and unconnected; a warning says why, with the port
// when another program holds it, and the table ends instead of waiting for ever.
TEST_F(TableConnectionTest, AHostThatCannotListenIsExplainedAndEndsTheTable)
{
    struct Row {
        const char* name;
        std::optional<HostStarted> started; ///< none: the program gave no starter
        const char* warning;
    };
    const Row rows[] = {
        {"no starter", std::nullopt, "This program has no host"},
        {"cannot bind", HostStarted{0, QStringLiteral("Listen - Error Binding Socket"), false},
         "Listen - Error Binding Socket"},
        {"port taken", HostStarted{0, QStringLiteral("Listen - Error Binding Socket"), true},
         "Listen - Error Binding Socket\n\nPort 7772 is already in use: another game may be running on this "
         "machine. Close it, or start with another port (--port)."},
    };
    int ends = 0;
    for (const Row& row : rows) {
        dialogs.warnings.clear();
        if (row.started)
            connection.setHostStarter([&row](const QString&, HostReach) { return *row.started; });
        EXPECT_FALSE(connection.host(QStringLiteral("7772"))) << row.name;
        EXPECT_EQ(dialogs.warnings, QStringList{QString::fromLatin1(row.warning)}) << row.name;
        EXPECT_FALSE(state.ishost) << row.name;
        EXPECT_EQ(ended.count(), ++ends) << row.name;
    }
    // Nothing was opened, so nothing can be sent.
    connection.sendline("CMD_chat+1+hi|clRed\xFF");
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Send - Socket Not Connected")});
    EXPECT_EQ(sent.count(), 0);
}

// A join that cannot connect asks again after every failure: Retry tries the same address and port, Quit
// ends the table. A host that answers on a retry is joined.
TEST_F(TableConnectionTest, AFailedJoinAsksRetryOrQuitUntilTheHostAnswers)
{
    int port = 0;
    {
        FakeHost gone;
        port = gone.port();
    }
    dialogs.retryAnswers = {true, false};
    connection.join(QStringLiteral("127.0.0.1"), QString::number(port));
    ASSERT_TRUE(morlu::test::waitUntil([&] { return ended.count() == 1; }, kWait)) << "ended.count()";
    const QString question = QStringLiteral("Could not connect to 127.0.0.1 port %1: connection refused").arg(port);
    ASSERT_EQ(dialogs.questions.size(), 2);
    EXPECT_TRUE(dialogs.questions.at(0).startsWith(question)) << qPrintable(dialogs.questions.at(0));
    EXPECT_EQ(dialogs.questions.at(1), dialogs.questions.at(0));

    // The host comes up while the question is open: Retry joins it.
    std::unique_ptr<FakeHost> host;
    dialogs.questions.clear();
    dialogs.retryAnswers = {true};
    dialogs.whenAsked = [&] { host = std::make_unique<FakeHost>(port); };
    QSignalSpy joined(&connection, &TableConnection::joined);
    connection.join(QStringLiteral("127.0.0.1"), QString::number(port));
    EXPECT_TRUE(QTest::qWaitFor([&] { return host && host->hasTable(); }, kWait));
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.questions.at(0).startsWith(question));
    EXPECT_EQ(ended.count(), 1);
    // Joined once the host has spoken, and only then (the address goes into the recent hosts).
    EXPECT_EQ(joined.count(), 0);
    host->send(QStringLiteral("CMD_sendlogininfo+2"));
    host->send(QStringLiteral("CMD_nobody+"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return joined.count() == 1; }, kWait));
    EXPECT_EQ(joined.at(0), (QVariantList{QStringLiteral("127.0.0.1"), QString::number(port)}));
    QTest::qWait(50);
    EXPECT_EQ(joined.count(), 1);
}

// A failed join says what happened and what the player can check: a refused connection (no game on that
// port), a name no machine has. The own host's table, on this machine, is told only what happened.
TEST(TableConnectionAdvice, AFailedJoinSaysWhatToCheck)
{
    int port = 0;
    {
        FakeHost gone;
        port = gone.port();
    }
    const struct {
        const char* address;
        bool ishost;
        const char* reason;
        const char* advice; ///< the second paragraph, empty for none
    } rows[] = {
        {"127.0.0.1", false, "connection refused", "No game is hosted on that port there"},
        {"no-such-host.invalid", false, "host not found", "No machine has that name: check the address"},
        {"127.0.0.1", true, "connection refused", ""},
    };
    for (const auto& row : rows) {
        TableState state;
        state.ishost = row.ishost;
        DialogRecorder dialogs;
        TableConnection connection{state, dialogs};
        QSignalSpy ended{&connection, &TableConnection::ended};
        connection.join(QString::fromLatin1(row.address), QString::number(port));
        ASSERT_TRUE(waitUntil([&] { return ended.count() == 1; }, kWait)) << row.address;
        ASSERT_EQ(dialogs.questions.size(), 1) << row.address;
        const QStringList paragraphs = dialogs.questions.at(0).split(QStringLiteral("\n\n"));
        EXPECT_EQ(paragraphs.at(0), QStringLiteral("Could not connect to %1 port %2: %3")
                                        .arg(QString::fromLatin1(row.address))
                                        .arg(port)
                                        .arg(QString::fromLatin1(row.reason)));
        EXPECT_EQ(paragraphs.size(), *row.advice != '\0' ? 2 : 1) << qPrintable(dialogs.questions.at(0));
        EXPECT_TRUE(paragraphs.last().startsWith(QString::fromLatin1(row.advice))) << qPrintable(paragraphs.last());
    }
}

// A failed join also offers Change Address, which hands back the address and port tried and does not end
// the table; a multi-player host whose port is taken is offered another port when someone takes the offer.
TEST_F(TableConnectionTest, AFailedJoinOrATakenPortGoesBackToTheChoice)
{
    struct ChangingDialogs : DialogRecorder {
        JoinFailedAnswer askRetryChangeOrQuit(const QString& text) override
        {
            questions << text;
            return JoinFailedAnswer::ChangeAddress;
        }
    } changing;
    TableConnection joining(state, changing);
    QSignalSpy change(&joining, &TableConnection::changeAddressChosen);
    QSignalSpy joinEnded(&joining, &TableConnection::ended);
    int port = 0;
    {
        FakeHost gone;
        port = gone.port();
    }
    joining.join(QStringLiteral("127.0.0.1"), QString::number(port));
    ASSERT_TRUE(waitUntil([&change] { return change.count() == 1; }, kWait));
    EXPECT_EQ(change.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(change.at(0).at(1).toString(), QString::number(port));
    EXPECT_EQ(joinEnded.count(), 0);

    QStringList offered;
    joining.setPortInUseOffer([&offered](const QString& taken) { offered << taken; });
    joining.setHostStarter([](const QString&, HostReach) {
        return HostStarted{0, QStringLiteral("Listen - Error Binding Socket"), true};
    });
    EXPECT_FALSE(joining.host(QStringLiteral("7772")));
    EXPECT_EQ(offered, QStringList{QStringLiteral("7772")});
    EXPECT_TRUE(changing.warnings.isEmpty());
    EXPECT_EQ(joinEnded.count(), 0);
}

TEST_F(TableConnectionTest, HostingConnectsToTheBoundPortOnTheOwnMachineAndSends)
{
    FakeHost host;
    QString asked;
    HostReach reach = HostReach::Everyone;
    connection.setHostStarter([&](const QString& port, HostReach askedReach) {
        asked = port;
        reach = askedReach;
        return HostStarted{quint16(host.port()), QString()};
    });
    EXPECT_TRUE(connection.host(QStringLiteral("0"), HostReach::ThisMachine));
    EXPECT_EQ(asked, QStringLiteral("0"));
    EXPECT_EQ(reach, HostReach::ThisMachine);
    EXPECT_TRUE(state.ishost);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.hasTable(); }, kWait));
    // The host speaks first; once its line is in, the table's end of the connection is open too.
    QSignalSpy handled(&connection.link(), &TableLink::lineHandled);
    QSignalSpy joined(&connection, &TableConnection::joined);
    host.send(QStringLiteral("CMD_nobody+"));
    ASSERT_TRUE(handled.wait(kWait));
    EXPECT_EQ(joined.count(), 0) << "the own host is no host to remember";

    connection.sendline("CMD_chat+1+hi|clRed\xFF");
    ASSERT_EQ(sent.count(), 1);
    EXPECT_EQ(sent.at(0).at(0).toByteArray(), QByteArray("CMD_chat+1+hi|clRed\xFF"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !host.receivedLines().isEmpty(); }, kWait));
    EXPECT_EQ(host.receivedLines(), QList<QByteArray>{QByteArray("CMD_chat+1+hi|clRed")});
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(TableConnectionTest, AFullGameShowsItsBoxThenEndsTheTable)
{
    EXPECT_TRUE(commands.dispatch("CMD_full+"));
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Game is full")});
    EXPECT_EQ(ended.count(), 1);
}

// A host that says why it lets the table go is believed: the tally is saved, the reason is shown in a
// box the player dismisses, and the table ends without trying to come back.
TEST_F(TableConnectionTest, TheHostsLastWordIsShownThenTheTableEnds)
{
    const struct {
        const char* line;
        const char* text;
    } rows[] = {
        {"CMD_removed+", "You have been removed from the game."},
        {"CMD_hostclosing+", "The host has ended the game."},
    };
    for (const auto& row : rows) {
        TableState joined;
        joined.connected = true;
        DialogRecorder boxes;
        TableConnection table(joined, boxes);
        table.registerOn(commands);
        QStringList boxesWhenLeaving{QStringLiteral("none yet")};
        QObject::connect(&table, &TableConnection::leaving, [&] { boxesWhenLeaving = boxes.messages; });
        QSignalSpy tableEnded(&table, &TableConnection::ended);

        EXPECT_TRUE(commands.dispatch(row.line)) << row.line;
        EXPECT_EQ(boxesWhenLeaving, QStringList()) << row.line << ": saved before the box";
        EXPECT_EQ(boxes.messages, QStringList{QString::fromLatin1(row.text)}) << row.line;
        EXPECT_EQ(tableEnded.count(), 1) << row.line;
        EXPECT_FALSE(table.reconnecting()) << row.line;
    }
}

// A joined table that loses its host without a word says so, drops what the player asks meanwhile (a
// move until the host has seated it again) and connects again until a host answers or the time is up;
// the host player's table, and a table that never logged in, end at once.
TEST_F(TableConnectionTest, ALostConnectionIsTriedAgainUntilTheHostAnswersOrTimeIsUp)
{
    enum class Then { HostAnswers, HostIsGone };
    const struct {
        const char* name;
        bool ishost;
        bool loggedIn;
        Then then;
        QStringList notices;
        QStringList boxes;
        int ends;
    } rows[] = {
        {"the host answers again",
         false,
         true,
         Then::HostAnswers,
         {QStringLiteral("Connection to the host lost. Reconnecting..."),
          QStringLiteral("Not sent while reconnecting to the host.")},
         {},
         0},
        {"the host is gone for good",
         false,
         true,
         Then::HostIsGone,
         {QStringLiteral("Connection to the host lost. Reconnecting..."),
          QStringLiteral("Not sent while reconnecting to the host.")},
         {QStringLiteral("The host cannot be reached.")},
         1},
        {"the host player's own table", true, true, Then::HostIsGone, {}, {}, 1},
        {"a table that never logged in", false, false, Then::HostIsGone, {}, {}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto host = std::make_unique<FakeHost>();
        TableState joined;
        DialogRecorder boxes;
        TableConnection table(joined, boxes);
        table.setReconnectTimes(1500, 20, 80);
        QStringList notices;
        QObject::connect(&table, &TableConnection::notice, [&](const QString& text) { notices << text; });
        QSignalSpy tableEnded(&table, &TableConnection::ended);
        QSignalSpy tableSent(&table, &TableConnection::lineSent);
        table.join(QStringLiteral("127.0.0.1"), QString::number(host->port()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return host->hasTable(); }, kWait));
        joined.ishost = row.ishost;
        joined.connected = row.loggedIn;

        if (row.then == Then::HostAnswers) {
            host->close();
            ASSERT_TRUE(QTest::qWaitFor([&] { return table.reconnecting(); }, kWait));
            ASSERT_TRUE(QTest::qWaitFor([&] { return host->hasTable(); }, kWait)) << "a new connection";
            EXPECT_TRUE(joined.rejoining) << "the slot offer is answered with the key";
            host->send(QStringLiteral("CMD_sendlogininfo+2"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !table.reconnecting(); }, kWait));
            EXPECT_TRUE(table.canSend());
            // A move waits for the seat: the host has not seated the new connection yet.
            EXPECT_FALSE(table.sendRequest("CMD_playcard+2+3+\xFF"));
            table.seated();
            EXPECT_TRUE(table.sendRequest("CMD_playcard+2+3+\xFF"));
            EXPECT_EQ(tableSent.count(), 1);
        } else {
            host.reset();
            if (row.ends == 1 && !row.boxes.isEmpty()) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return table.reconnecting(); }, kWait));
                EXPECT_FALSE(table.canSend());
                table.sendline("CMD_chat+2+anyone?|clRed\xFF");
                table.sendline("CMD_playcard+2+3+\xFF");
                EXPECT_EQ(tableSent.count(), 0) << "dropped while the connection is made again, said once";
            }
            ASSERT_TRUE(QTest::qWaitFor([&] { return tableEnded.count() == 1; }, kWait));
        }
        EXPECT_EQ(notices, row.notices);
        EXPECT_EQ(boxes.messages, row.boxes);
        EXPECT_EQ(boxes.questions, QStringList()) << "no Retry or Quit while coming back";
        EXPECT_EQ(tableEnded.count(), row.ends);
    }
}

// The lobby program is read and nothing it sends is kept; once it has sent 64 KiB the table lets it go.
TEST_F(TableConnectionTest, TheLobbyIsReadAndDroppedAndLetGoAfter64KiB)
{
    struct Row {
        const char* name;
        qsizetype sent; ///< bytes the lobby sends
        bool closed;
    };
    const Row rows[] = {
        {"just under the limit", TableConnection::kLobbyReadLimit - 1, false},
        {"the limit", TableConnection::kLobbyReadLimit, true},
        {"a flood", 40 * TableConnection::kLobbyReadLimit, true},
    };
    for (const Row& row : rows) {
        FakeHost lobbyProgram;
        TableConnection table{state, dialogs};
        auto* sock11 = table.findChild<morlu::TSock*>(QStringLiteral("Sock11"));
        ASSERT_NE(sock11, nullptr);
        sock11->setPortName(QString::number(lobbyProgram.port()));
        // Counts what arrives and what the table keeps, around its own handler.
        qsizetype arrived = 0;
        qsizetype kept = 0;
        const morlu::TNotifyReadEvent own = sock11->OnRead;
        sock11->OnRead = [&](morlu::TSock* sock, qsizetype count) {
            arrived += sock->incomingSize() - kept;
            if (own)
                own(sock, count);
            kept = sock->incomingSize();
        };
        table.openLobby();
        ASSERT_TRUE(QTest::qWaitFor([&] { return lobbyProgram.hasTable(); }, kWait)) << row.name;
        // FakeHost ends each send with one byte of its own.
        for (qsizetype left = row.sent; left > 0; left -= 8192)
            lobbyProgram.send(QString(int(std::min<qsizetype>(left, 8192) - 1), QLatin1Char('x')));
        if (row.closed) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !sock11->isConnected(); }, kWait)) << row.name;
            EXPECT_LE(arrived, TableConnection::kLobbyReadLimit + 32768) << row.name;
        } else {
            EXPECT_TRUE(QTest::qWaitFor([&] { return arrived == row.sent; }, kWait)) << row.name;
            EXPECT_TRUE(sock11->isConnected()) << row.name;
        }
        EXPECT_EQ(kept, 0) << row.name;
    }
}

} // namespace
