#include "artpicture.h"
#include "board.h"
#include "launchoptions.h"
#include "printers.h"
#include "programrig.h"
#include "serverprocess.h"
#include "tablemodel.h"
#include "tallyfile.h"
#include "tallyrecorder.h"
#include "tempdir.h"
#include "testtable.h"
#include "tgamestart.h"
#include "tsock.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <optional>
#include <sys/types.h>
#include <vector>

using namespace morlu;
using namespace morlu::test;

namespace {

TEST(LaunchOptionsTest, TakesOutTheDoubleDashOptions)
{
    const LaunchOptions plain = LaunchOptions::parse({"Ann", "10.0.0.2", "true"});
    EXPECT_FALSE(plain.server);
    EXPECT_EQ(plain.arguments, QStringList({"Ann", "10.0.0.2", "true"}));
    EXPECT_TRUE(plain.error.isEmpty());

    const LaunchOptions all = LaunchOptions::parse(
        {"--server", "--port", "0", "--seed=4294967295", "Ann", "--pause-tick-ms", "250", "--computer", "expert"});
    EXPECT_TRUE(all.server);
    EXPECT_EQ(all.computer, ComputerLevel::Expert);
    EXPECT_EQ(LaunchOptions::parse({"--computer=classic"}).computer, ComputerLevel::Classic);
    EXPECT_FALSE(plain.computer);
    EXPECT_EQ(all.port, 0);
    EXPECT_EQ(all.seed, 4294967295u);
    EXPECT_EQ(all.pauseTickMs, 250);
    EXPECT_EQ(all.arguments, QStringList({"Ann"}));
    EXPECT_TRUE(all.error.isEmpty());
}

TEST(LaunchOptionsTest, NetworkOptions)
{
    struct Row {
        QStringList args;
        std::optional<QString> name;
        bool announce;
        bool upnp;
        QStringList arguments;
        bool error;
    };
    const std::vector<Row> rows{
        {{"--server"}, std::nullopt, true, false, {}, false},
        {{"--server", "--name", "Friday night", "--no-announce", "--upnp"}, "Friday night", false, true, {}, false},
        {{"--name=  Ann's table  "}, "Ann's table", true, false, {}, false},
        {{"Ann", "10.0.0.2", "true", "--port", "7000", "--no-announce", "--upnp"},
         std::nullopt,
         false,
         true,
         {"Ann", "10.0.0.2", "true"},
         false},
        {{"--name"}, std::nullopt, true, false, {}, true},
        {{"--name", "   "}, std::nullopt, true, false, {}, true},
        {{"--name", QString(64, QLatin1Char('x'))}, std::nullopt, true, false, {}, true},
        {{"--name", QStringLiteral("a\nb")}, std::nullopt, true, false, {}, true},
        {{"--upnp=yes"}, std::nullopt, true, false, {}, true},
        {{"--no-announce=1"}, std::nullopt, true, false, {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const LaunchOptions options = LaunchOptions::parse(row.args);
        EXPECT_EQ(!options.error.isEmpty(), row.error) << options.error.toStdString();
        if (row.error)
            continue;
        EXPECT_EQ(options.name, row.name);
        EXPECT_EQ(options.announce, row.announce);
        EXPECT_EQ(options.upnp, row.upnp);
        EXPECT_EQ(options.arguments, row.arguments);
    }
    EXPECT_EQ(LaunchOptions::parse({"--replay", "a game.morlugame"}).replay, QStringLiteral("a game.morlugame"));
    EXPECT_FALSE(LaunchOptions::parse({"--replay="}).error.isEmpty());
    for (const char* option : {"--name TEXT", "--no-announce", "--upnp", "--replay FILE"})
        EXPECT_TRUE(LaunchOptions::usage().contains(QLatin1String(option))) << option;
}

TEST(LaunchOptionsTest, RejectsBadValuesAndUnknownOptions)
{
    for (const QStringList& args :
         {QStringList{"--port"}, QStringList{"--port", "65536"}, QStringList{"--port", "-1"},
          QStringList{"--port", "80x"}, QStringList{"--port="}, QStringList{"--seed", "4294967296"},
          QStringList{"--pause-tick-ms", "1e3"}, QStringList{"--bogus"}, QStringList{"--server=1"},
          QStringList{"--computer", "Expert"}, QStringList{"--computer"}, QStringList{"--computer="}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        EXPECT_FALSE(LaunchOptions::parse(args).error.isEmpty());
    }
}

TEST(ServerModeTest, ListensOnTheBoundPortServesATableAndEndsOnSigterm)
{
    ServerProcess server;
    server.start({"--port", "0", "--seed", "1", "--pause-tick-ms", "0"});
    const quint16 port = server.waitListening();
    ASSERT_NE(port, 0) << server.standardError().toStdString();

    TestTable table(port);
    ASSERT_TRUE(table.login("Ann"));
    table.send("CMD_chat+1+hi|clBlack");
    ASSERT_TRUE(table.waitFor("CMD_chat+1+Ann chats: hi|clBlack"));

    ASSERT_TRUE(server.terminate());
    EXPECT_EQ(server.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.process().exitCode(), 0);
    EXPECT_EQ(server.standardOutput(), QByteArray("Listening on port ") + QByteArray::number(port) + '\n');
    EXPECT_TRUE(server.standardError().contains("logged in as Ann"));
    EXPECT_TRUE(table.waitClosed());
}

// Every seat watched, so the computer plays all four through the session until the winner is named;
// on the same deals the expert and the simple player lay different cards.
TEST(ServerModeTest, TheComputerLevelAppliesToEveryComputerSeat)
{
    std::map<QString, std::vector<std::string>> plays;
    for (const QString& level : {QStringLiteral("classic"), QStringLiteral("expert")}) {
        SCOPED_TRACE(level.toStdString());
        ServerProcess server;
        server.start({"--port", "0", "--seed", "3", "--pause-tick-ms", "0", "--computer", level});
        const quint16 port = server.waitListening();
        ASSERT_NE(port, 0) << server.standardError().toStdString();

        TestTable table(port);
        ASSERT_TRUE(table.login("Ann"));
        table.send("CMD_startgame+Ann+s+");
        ASSERT_TRUE(table.waitForWord("CMD_mycards"));
        table.send("CMD_justwatch+1+1");
        ASSERT_TRUE(table.waitForWord("CMD_winner", 0, 60000));
        EXPECT_TRUE(table.linesOf("CMD_aerror").empty());
        plays[level] = table.linesOf("CMD_placecard");
        ASSERT_TRUE(server.terminate());
    }
    EXPECT_NE(plays["classic"], plays["expert"]);
}

// Nobody's program hosts: the table the dedicated host puts in slot 1 gets START, starts a short game
// through the chooser, lets the computer play its seat and sees the game to its winner, which its tally
// counts; when the host is told to stop, the table hears that the host ends, closes and keeps its tally.
TEST(ServerModeTest, TheTableInSlotOneStartsAndFinishesAGame)
{
    ServerProcess server;
    server.start({"--port", "0", "--seed", "5", "--pause-tick-ms", "0"});
    const quint16 port = server.waitListening();
    ASSERT_NE(port, 0) << server.standardError().toStdString();

    TempDir dir;
    const QString tally = dir.file(TallyFile::fileName());
    Program table({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, port);
    table->useTallyFile(tally);
    table->tally().store().addOpponent(QStringLiteral("Klot"));
    table->setChosenbotspeed(0);
    table->show();
    ASSERT_TRUE(waitUntil([&] { return table->state().myseat == 1; }, kWait));
    EXPECT_FALSE(table->state().ishost);
    ASSERT_TRUE(table->board().startButton()->isVisibleTo(&table->board()));

    QTest::mouseClick(table->board().startButton(), Qt::LeftButton);
    ASSERT_TRUE(table->gamestart().isVisible());
    QTest::mouseClick(table->gamestart().findChild<QLabel*>(QStringLiteral("label_descrip1")), Qt::LeftButton);
    QTest::mouseClick(table->gamestart().findChild<QLabel*>(QStringLiteral("button_startgame")), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return table->model().gamerunning(); }, kWait));
    EXPECT_FALSE(table->board().startButton()->isVisibleTo(&table->board()));

    table->JustWatch1Click();
    ASSERT_TRUE(waitUntil([&] { return table->board().winnerPanel()->isVisibleTo(&table->board()); }, 60000));
    EXPECT_EQ(table->model().round(), 8);
    EXPECT_TRUE(table->board().startButton()->isVisibleTo(&table->board())) << "the next game is slot 1's to start";
    EXPECT_EQ(table->tally().store().myGames(), QStringLiteral("1"));
    EXPECT_EQ(table->tally().store().record(0).first(), QStringLiteral("1")) << "Klot was at the table";

    MessageBoxes boxes;
    QSignalSpy closed(table.get(), &Tchat::tableClosed);
    ASSERT_TRUE(server.terminate());
    ASSERT_TRUE(closed.count() > 0 || closed.wait(kWait));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("The host has ended the game.")}) << "told, not dropped";
    TallyStore saved;
    saved.load(tally);
    EXPECT_EQ(saved.myGames(), QStringLiteral("1"));
}

TEST(ServerModeTest, APortInUseEndsWithTheBindError)
{
    TSock taken;
    taken.setPortName(QStringLiteral("0"));
    taken.setListen(true);
    ServerProcess server;
    server.start({"--port", QString::number(taken.localPort())});
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.process().exitCode(), 1);
    EXPECT_TRUE(server.standardError().contains("Listen - Error Binding Socket"));
    // Which port, and what to do about it.
    EXPECT_TRUE(
        server.standardError().contains(QStringLiteral("port %1 is already in use").arg(taken.localPort()).toUtf8()))
        << server.standardError().toStdString();
    EXPECT_TRUE(server.standardError().contains("--port N"));
    EXPECT_TRUE(server.standardOutput().isEmpty());
}

TEST(ServerModeTest, BadOptionsPrintTheUsage)
{
    for (const QStringList& options :
         {QStringList{"--port", "x"}, QStringList{"--seed"}, QStringList{"--nope"}, QStringList{"stray"}}) {
        SCOPED_TRACE(options.join(' ').toStdString());
        ServerProcess server;
        server.start(options);
        ASSERT_TRUE(server.waitFinished());
        EXPECT_EQ(server.process().exitCode(), 2);
        EXPECT_TRUE(server.standardError().contains("morlu --server [--port N]"));
    }
}

} // namespace
