#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "hintrequester.h"
#include "programrig.h"
#include "sessionmessages.h"
#include "tableconnection.h"
#include "tabledriver.h"
#include "tablelink.h"
#include "tablemenus.h"
#include "tablemodel.h"
#include "tableoptions.h"
#include "tgamestart.h"
#include "tsock.h"
#include "tsockconnection.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <sys/socket.h>

using namespace morlu;
using namespace morlu::test;

namespace {

constexpr int kIdle = 20000;

bool winnerShown(Tchat& table)
{
    return table.board().winnerPanel()->isVisibleTo(&table.board());
}

QStringList banks(Tchat& table)
{
    QStringList texts;
    for (int seat = 1; seat <= 4; ++seat)
        texts << table.board().scoreLabel(seat)->text();
    return texts;
}

QStringList hostBanks(const TServer& host)
{
    QStringList texts;
    for (int seat = 1; seat <= 4; ++seat)
        texts << QStringLiteral("$%1").arg(host.engine().seat(seat).bank);
    return texts;
}

QList<int> playedCards(Tchat& table)
{
    QList<int> cards;
    for (int seat = 1; seat <= 4; ++seat)
        cards << table.board().playedCard(seat)->picture();
    return cards;
}

/// Hand place k of the table -> the card it shows, 0 when the place is empty or hidden.
QList<int> hand(Tchat& table)
{
    QList<int> cards;
    for (int k = 1; k <= 8; ++k) {
        const CardPlace* place = table.board().handPlace(k);
        cards << (place->isVisibleTo(&table.board()) && place->slot() != 0 ? place->picture() : 0);
    }
    return cards;
}

QList<int> hostHand(const TServer& host, int seat)
{
    QList<int> cards;
    for (int k = 1; k <= 8; ++k)
        cards << host.engine().seat(seat).cards[std::size_t(k)];
    return cards;
}

/// A solo table that hosts on a free port with computer players that do not wait.
Program soloTable()
{
    Program table({}, 0);
    table->setChosenbotspeed(0);
    table->show();
    EXPECT_TRUE(waitUntil([&] { return table->state().connected && table.server().engine().botdelay() == 0; }, kWait));
    return table;
}

Program joiningTable(Program& host, const QString& name)
{
    Program table({name, QStringLiteral("127.0.0.1"), QStringLiteral("false")}, host.server().port());
    table->processparams();
    EXPECT_TRUE(waitUntil([&] { return table->state().connected; }, kWait)) << qPrintable(name);
    return table;
}

/// Starts a game of @p option (1 short, 2 half, 3 full) through the start button and the chooser.
void startGame(Program& program, int option)
{
    Tchat& table = *program;
    QTest::mouseClick(table.board().startButton(), Qt::LeftButton);
    ASSERT_TRUE(table.gamestart().isVisible());
    QTest::mouseClick(table.gamestart().findChild<QLabel*>(QStringLiteral("label_descrip%1").arg(option)),
                      Qt::LeftButton);
    QTest::mouseClick(table.gamestart().findChild<QLabel*>(QStringLiteral("button_startgame")), Qt::LeftButton);
    EXPECT_FALSE(table.gamestart().isVisible());
    EXPECT_TRUE(waitUntil([&] { return program.server().engine().gamerunning(); }, kWait));
}

TEST(TableGame, ASoloGamePlayedThroughTheWidgetsEndsWithTheWinner)
{
    auto table = soloTable();
    SentLines sent(*table);
    QSignalSpy sounds(table.get(), &Tchat::soundRequested);
    startGame(table, 1);
    EXPECT_TRUE(sent.lines().contains(QStringLiteral("CMD_startgame+You+s+")));
    EXPECT_TRUE(waitUntil([&] { return !table->board().startButton()->isVisibleTo(&table->board()); }, kWait));

    TableDriver driver(table.server(), {table.get()});
    ASSERT_TRUE(driver.playUntil([&] { return winnerShown(*table); }, kIdle));

    EXPECT_EQ(table->model().contracttotal(), 8);
    EXPECT_EQ(table->model().round(), 8);
    EXPECT_GE(driver.contractsChosen(), 2);
    EXPECT_GE(driver.cardsPlayed(), 8);
    EXPECT_TRUE(sent.any(QStringLiteral("CMD_playcard+1+")));
    EXPECT_TRUE(sent.any(QStringLiteral("CMD_choosetype+1+")));
    EXPECT_TRUE(table->board().winnerText().endsWith(QStringLiteral("Won the Game!")));
    EXPECT_EQ(chatLines(*table).constLast(), table->board().winnerText());
    EXPECT_EQ(banks(*table), hostBanks(table.server()));
    EXPECT_TRUE(table->board().startButton()->isVisibleTo(&table->board()));
    bool winnerSound = false;
    for (const QList<QVariant>& call : sounds)
        winnerSound |= call.at(0).toString() == QStringLiteral("winner");
    EXPECT_TRUE(winnerSound);
}

// A solo player asks the real host for hints by key and by menu: the contract it names and the card it
// names are ones the host accepts, and the rings go once they are played.
TEST(TableGame, HintsInASoloGameNameAContractAndACardTheHostTakes)
{
    auto table = soloTable();
    SentLines sent(*table);
    QAction* hint = table->menus().hintAction();
    EXPECT_FALSE(hint->isEnabled());
    startGame(table, 1);
    const GameState& game = table.server().engine().state();
    ASSERT_TRUE(waitUntil([&] { return table->model().chooser() == 1; }, kWait));
    EXPECT_TRUE(hint->isEnabled());

    QTest::keyClick(&table->board(), Qt::Key_H);
    ASSERT_TRUE(waitUntil([&] { return table->hints().ringedContract() != 0; }, kWait));
    EXPECT_TRUE(sent.lines().contains(QStringLiteral("CMD_hint+1+")));
    const int contract = table->hints().ringedContract();
    EXPECT_EQ(table->board().chooser()->hinted(), contract);
    EXPECT_TRUE(table->board().gameLog()->toPlainText().contains(QStringLiteral("Hint: ")));
    QTest::mouseClick(table->board().chooser()->titleLabel(contract), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return game.contract == contract; }, kWait));
    EXPECT_TRUE(waitUntil([&] { return table->board().chooser()->hinted() == 0; }, kWait));

    // The director leads (or lays) first: its turn comes at once.
    ASSERT_TRUE(waitUntil([&] { return table->model().ownTurn(); }, kWait));
    EXPECT_TRUE(hint->isEnabled());
    hint->trigger();
    ASSERT_TRUE(waitUntil([&] { return table->hints().ringedSlot() != 0; }, kWait));
    const int slot = table->hints().ringedSlot();
    EXPECT_TRUE(table->board().handPlace(slot)->isHinted());
    QTest::mouseClick(table->board().handPlace(slot), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return game.seats[1].cards[std::size_t(slot)] == 0; }, kWait));
    EXPECT_FALSE(table->board().errorPanel()->isVisibleTo(&table->board()));
    EXPECT_TRUE(waitUntil([&] { return table->hints().ringedSlot() == 0; }, kWait));
    EXPECT_FALSE(table->board().handPlace(slot)->isHinted());
    EXPECT_FALSE(table->board().gameLog()->toPlainText().contains(QStringLiteral("This host gives no hints.")));

    // The leave for hints is told to everybody as a plain system line.
    table->menus().allowHintsAction()->trigger();
    EXPECT_TRUE(
        waitUntil([&] { return chatLines(*table).contains(QStringLiteral("The host player allows hints.")); }, kWait))
        << qPrintable(chatLines(*table).join(QLatin1Char('\n')));
}

TEST(TableGame, LateSeatsCatchUpASpectatorWatchesAndRemovedTablesClose)
{
    MessageBoxes boxes;
    auto host = soloTable();
    startGame(host, 3);
    TServer& server = host.server();
    // The computers play until the host's own seat is needed; then the game waits for it.
    ASSERT_TRUE(waitUntil(
        [&] {
            const GameState& game = server.engine().state();
            return game.chooserseat == 1 || (game.playopen && game.turnseat == 1);
        },
        kWait));

    auto bea = joiningTable(host, QStringLiteral("Bea"));
    ASSERT_EQ(bea->state().myseat, 2);
    ASSERT_TRUE(waitUntil([&] { return hand(*bea) == hostHand(server, 2); }, kWait));
    EXPECT_NE(hand(*bea), QList<int>(8, 0));
    EXPECT_EQ(bea->model().contracttotal(), 24);
    EXPECT_TRUE(waitUntil([&] { return banks(*bea) == hostBanks(server); }, kWait));
    EXPECT_EQ(bea->board().seatName(1), QStringLiteral("You"));
    EXPECT_EQ(bea->board().seatName(2), QStringLiteral("Bea"));
    EXPECT_TRUE(waitUntil([&] { return host->board().seatName(2) == QStringLiteral("Bea"); }, kWait));

    auto cid = joiningTable(host, QStringLiteral("Cid"));
    auto dot = joiningTable(host, QStringLiteral("Dot"));
    auto eve = joiningTable(host, QStringLiteral("Eve"));
    ASSERT_EQ(eve->state().myseat, 5);
    SentLines eveSent(*eve);
    EXPECT_TRUE(waitUntil([&] { return chatLines(*eve).contains(QStringLiteral("You are spying.")); }, kWait));
    EXPECT_TRUE(waitUntil([&] { return host->spys() == QStringList{QStringLiteral("5: Eve")}; }, kWait));

    // Four people play a trick and more; the spectator sees the cards land and the banks move.
    TableDriver driver(server, {host.get(), bea.get(), cid.get(), dot.get()});
    const int tricksBefore = int(host->board().gameLog()->toPlainText().count(QStringLiteral("taken the trick")));
    ASSERT_TRUE(driver.playUntil(
        [&] {
            return host->board().gameLog()->toPlainText().count(QStringLiteral("taken the trick")) > tricksBefore + 1 ||
                   host->model().round() >= 3;
        },
        kIdle));
    EXPECT_TRUE(
        waitUntil([&] { return playedCards(*eve) == playedCards(*host) && banks(*eve) == banks(*host); }, kWait));
    for (int k = 1; k <= 8; ++k)
        QTest::mouseClick(eve->board().handPlace(k), Qt::LeftButton);
    EXPECT_FALSE(eveSent.any(QStringLiteral("CMD_playcard")));
    EXPECT_TRUE(eveSent.lines().isEmpty());

    // The host's table removes the spectator and a seated player.
    QSignalSpy eveClosed(eve.get(), &Tchat::tableClosed);
    QSignalSpy beaClosed(bea.get(), &Tchat::tableClosed);
    std::string line;
    host->connection().sendline(KickHim{1, 5}.write(line));
    ASSERT_TRUE(eveClosed.wait(kWait));
    host->connection().sendline(KickHim{1, 2}.write(line));
    ASSERT_TRUE(beaClosed.wait(kWait));
    EXPECT_TRUE(waitUntil(
        [&] {
            const QStringList lines = chatLines(*host);
            return lines.contains(QStringLiteral("Eve has left.")) &&
                   lines.contains(QStringLiteral("Bea disconnected."));
        },
        kWait));
    EXPECT_EQ(host->board().seatName(2), QStringLiteral("Klot"));
    EXPECT_EQ(boxes.texts(), QStringList(2, QStringLiteral("You have been removed from the game.")));
    EXPECT_TRUE(host->spys().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return cid->board().seatName(2) == QStringLiteral("Klot"); }, kWait));
}

TEST(TableGame, WhenTheHostingTableEndsEveryOtherTableEnds)
{
    MessageBoxes boxes;
    auto host = soloTable();
    auto bea = joiningTable(host, QStringLiteral("Bea"));
    auto eve = joiningTable(host, QStringLiteral("Eve"));
    QSignalSpy beaClosed(bea.get(), &Tchat::tableClosed);
    QSignalSpy eveClosed(eve.get(), &Tchat::tableClosed);
    // Told, since both have asked for their seat keys (a table that has not would try to come back).
    ASSERT_TRUE(waitUntil([&] { return !bea->state().seatkey.empty() && !eve->state().seatkey.empty(); }, kWait));
    host.reset();
    EXPECT_TRUE(waitUntil([&] { return beaClosed.count() == 1 && eveClosed.count() == 1; }, kWait));
    EXPECT_EQ(boxes.texts(), QStringList(2, QStringLiteral("The host has ended the game.")));
}

/// Kills @p table's connection at its socket, as a network that drops it would.
void killConnection(Tchat& table)
{
    auto* tcp = dynamic_cast<TSockConnection*>(&table.link().connection());
    ASSERT_NE(tcp, nullptr);
    ASSERT_EQ(::shutdown(tcp->sock().handle(), SHUT_RDWR), 0);
}

// Two seated tables lose their connections in the middle of a game: each comes back to its own seat,
// hand and all, and the game is played on through their widgets.
TEST(TableGame, KilledConnectionsComeBackToTheirSeatsAndPlayOn)
{
    auto host = soloTable();
    auto bea = joiningTable(host, QStringLiteral("Bea"));
    auto cid = joiningTable(host, QStringLiteral("Cid"));
    TServer& server = host.server();
    startGame(host, 1);
    const auto handsShown = [&] {
        return hand(*bea) == hostHand(server, 2) && hand(*cid) == hostHand(server, 3) && hand(*bea) != QList<int>(8, 0);
    };
    ASSERT_TRUE(waitUntil(handsShown, kWait));
    ASSERT_TRUE(waitUntil([&] { return !bea->state().seatkey.empty() && !cid->state().seatkey.empty(); }, kWait));

    killConnection(*cid);
    killConnection(*bea);
    for (Tchat* table : {bea.get(), cid.get()}) {
        EXPECT_TRUE(waitUntil(
            [&] { return chatLines(*table).contains(QStringLiteral("Connection to the host lost. Reconnecting...")); },
            kWait));
    }
    ASSERT_TRUE(waitUntil(
        [&] {
            return server.slot(2).name == "Bea" && server.slot(3).name == "Cid" && bea->state().myseat == 2 &&
                   cid->state().myseat == 3 && !bea->connection().reconnecting() && !cid->connection().reconnecting() &&
                   handsShown();
        },
        kWait));
    EXPECT_EQ(server.slotcount(), 3) << "nobody took another slot";
    EXPECT_TRUE(waitUntil([&] { return banks(*bea) == hostBanks(server); }, kWait));

    SentLines beaSent(*bea);
    SentLines cidSent(*cid);
    TableDriver driver(server, {host.get(), bea.get(), cid.get()});
    ASSERT_TRUE(driver.playUntil(
        [&] {
            return beaSent.any(QStringLiteral("CMD_playcard+2+")) && cidSent.any(QStringLiteral("CMD_playcard+3+"));
        },
        kIdle));
    EXPECT_EQ(driver.refusals(), 0);
    EXPECT_TRUE(waitUntil([&] { return banks(*bea) == hostBanks(server) && banks(*cid) == hostBanks(server); }, kWait));
}

} // namespace

// Two seated players' programs die in the middle of a game (a crash, a kill) and are started again, the
// later seat first: each asks with the seat key its settings kept and gets its own seat back, not the
// lowest free one. A program that was closed keeps no key.
TEST(TableGame, AProgramStartedAgainAfterACrashGetsItsOwnSeatBack)
{
    auto host = soloTable();
    auto bea = joiningTable(host, QStringLiteral("Bea"));
    auto cid = joiningTable(host, QStringLiteral("Cid"));
    TServer& server = host.server();
    startGame(host, 1);
    ASSERT_TRUE(waitUntil([&] { return !bea->state().seatkey.empty() && !cid->state().seatkey.empty(); }, kWait));
    const QString beaSettings = bea->options().path();
    const QString cidSettings = cid->options().path();
    const QList<int> cidHand = hostHand(server, 3);
    bea.reset();
    cid.reset();
    ASSERT_TRUE(waitUntil([&] { return server.slot(2).inuse == 0 && server.slot(3).inuse == 0; }, kWait));

    const auto startAgain = [&](const QString& name, const QString& settings) {
        Program table({name, QStringLiteral("127.0.0.1"), QStringLiteral("false")}, server.port());
        table->setSettingsPath(settings);
        table->processparams();
        EXPECT_TRUE(waitUntil([&] { return table->state().connected; }, kWait)) << qPrintable(name);
        return table;
    };
    auto cidAgain = startAgain(QStringLiteral("Cid"), cidSettings);
    EXPECT_EQ(cidAgain->state().myseat, 3);
    EXPECT_TRUE(waitUntil([&] { return hand(*cidAgain) == cidHand; }, kWait));
    auto beaAgain = startAgain(QStringLiteral("Bea"), beaSettings);
    EXPECT_EQ(beaAgain->state().myseat, 2);
    EXPECT_EQ(server.slotcount(), 3) << "nobody took another slot";

    // Closed, not killed: the players left their seats and come back as newcomers, to the lowest free one.
    for (Program* program : {&beaAgain, &cidAgain}) {
        (*program)->close();
        program->reset();
    }
    ASSERT_TRUE(waitUntil([&] { return server.slot(2).inuse == 0 && server.slot(3).inuse == 0; }, kWait));
    auto cidThird = startAgain(QStringLiteral("Cid"), cidSettings);
    EXPECT_EQ(cidThird->state().myseat, 2);
}
