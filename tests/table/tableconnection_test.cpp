#include "tableconnection.h"

#include "fakehost.h"
#include "printers.h"
#include "tablelink.h"
#include "tablerecorders.h"
#include "tablestate.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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

// A host that cannot listen leaves the table unhosted and unconnected, with the reason in a box.
TEST_F(TableConnectionTest, AHostThatCannotListenIsReportedAndNotConnected)
{
    struct Row {
        const char* name;
        std::optional<HostStarted> started; ///< none: the program gave no starter
        const char* box;
    };
    const Row rows[] = {
        {"no starter", std::nullopt, "This program has no host"},
        {"port taken", HostStarted{0, QStringLiteral("Listen - Error Binding Socket")},
         "Listen - Error Binding Socket"},
    };
    for (const Row& row : rows) {
        dialogs.messages.clear();
        if (row.started)
            connection.setHostStarter([&row](const QString&, HostReach) { return *row.started; });
        EXPECT_FALSE(connection.host(QStringLiteral("7772"))) << row.name;
        EXPECT_EQ(dialogs.messages, QStringList{QString::fromLatin1(row.box)}) << row.name;
        EXPECT_FALSE(state.ishost) << row.name;
    }
    // Nothing was opened, so nothing can be sent.
    dialogs.messages.clear();
    connection.sendline("CMD_chat+1+hi|clRed\xFF");
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Send - Socket Not Connected")});
    EXPECT_EQ(sent.count(), 0);
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
    host.send(QStringLiteral("CMD_nobody+"));
    ASSERT_TRUE(handled.wait(kWait));

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

} // namespace
