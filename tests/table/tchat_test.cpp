#include "tchat.h"

#include "artpicture.h"
#include "board.h"
#include "chatbuttons.h"
#include "chatpane.h"
#include "instructionspanel.h"
#include "logcapture.h"
#include "printers.h"
#include "tablelink.h"
#include "tablerig.h"
#include "tgamestart.h"
#include "tphrases.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>

#include <gtest/gtest.h>

using namespace morlu;
using namespace morlu::test;

namespace {

const QString kSolo = QStringLiteral("Loading Solo Game..Please wait.");
const QString kMulti = QStringLiteral("Loading Multi-player Game.. Please Wait.");

QString nameOf(Tchat& table, int seat)
{
    return table.board().seatName(seat);
}

TEST(TchatWindow, IsTheMainWindowWithItsMenusAndSizes)
{
    Tchat table;
    EXPECT_EQ(table.windowTitle(), QStringLiteral("Morlu"));
    EXPECT_EQ(table.size(), QSize(Tchat::kDefaultWidth, Tchat::kDefaultHeight));
    EXPECT_EQ(table.centralWidget()->minimumSize(), QSize(783, 549));
    EXPECT_EQ(table.mainchat().size(), QSize(725, 172));
    EXPECT_TRUE(table.mainchat().isReadOnly());
    EXPECT_EQ(table.board().objectName(), QStringLiteral("panel_board"));
    EXPECT_EQ(table.portName(), QStringLiteral("7772"));
    EXPECT_EQ(table.chosenbotspeed(), 1000);

    QStringList menus;
    for (QAction* action : table.menuBar()->actions())
        menus << action->text().remove(QLatin1Char('&'));
    EXPECT_EQ(menus, (QStringList{QStringLiteral("File"), QStringLiteral("Options"), QStringLiteral("View"),
                                  QStringLiteral("Help")}));
    auto* instructions = table.findChild<QAction*>(QStringLiteral("QuickInstructions1"));
    ASSERT_NE(instructions, nullptr);
    EXPECT_EQ(instructions->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_NE(table.findChild<QAction*>(QStringLiteral("StartGame1")), nullptr);
    EXPECT_NE(table.findChild<QAction*>(QStringLiteral("Exit1")), nullptr);

    // The chat lies on the board, so the quick instructions cover it.
    EXPECT_TRUE(table.board().isAncestorOf(&table.mainchat()));
    instructions->trigger();
    EXPECT_TRUE(table.board().instructionsPanel()->isVisibleTo(&table.board()));
}

TEST(TchatWindow, TheMenusReachTheChatAndThePhraseEditor)
{
    Tchat table;
    const auto action = [&table](const char* name) { return table.findChild<QAction*>(QString::fromLatin1(name)); };
    // Either "Scroll Chat Off" toggles the one scroll lock, and both show it.
    action("ScrollChatOff2")->trigger();
    EXPECT_TRUE(table.mainchat().scrollLock());
    EXPECT_TRUE(action("ScrollChatOff1")->isChecked());
    action("ScrollChatOff1")->trigger();
    EXPECT_FALSE(table.mainchat().scrollLock());
    EXPECT_FALSE(action("ScrollChatOff2")->isChecked());

    table.chat().systemLine(QStringLiteral("see www.x.org"));
    action("ClearMainChat2")->trigger();
    EXPECT_EQ(chatLines(table), QStringList());

    // A chatter sound before the settings are read is written, not played.
    table.board().setSeatName(2, QStringLiteral("Bob"));
    table.chat().playasound("2+wave4+");
    EXPECT_EQ(chatLines(table), QStringList{QStringLiteral("Bob:  <Chatter Sound> Thank You")});

    table.chat().buttons().setPhrase(4, QStringLiteral("Bravo!"));
    action("PrhaseList1")->trigger();
    ASSERT_TRUE(table.phrases().isVisible());
    EXPECT_EQ(table.phrases().phrase(4), QStringLiteral("Bravo!"));
    EXPECT_EQ(table.phrases().phrase(1), QStringLiteral("Way To Go!"));
    table.phrases().close();
}

// A join that finds nobody says so within a second, with the address, the port and the reason; Retry
// tries again and Quit ends the table.
TEST(TchatStart, ARefusedJoinSaysWhyAndOffersRetryOrQuit)
{
    int freePort = 0;
    {
        FakeHost gone;
        freePort = gone.port();
    }
    auto table = makeTable({QStringLiteral("Bea"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, freePort);
    QSignalSpy closed(table.get(), &Tchat::tableClosed);
    MessageBox::clearAnswered();
    QList<QMessageBox::StandardButton> answers{QMessageBox::Retry, QMessageBox::Close};
    QElapsedTimer firstBox;
    qint64 firstAfter = -1;
    MessageBox::setHook([&](const QString&) {
        if (firstAfter < 0)
            firstAfter = firstBox.elapsed();
        return answers.takeFirst();
    });
    firstBox.start();
    table->show();
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, kWait);
    MessageBox::setHook({});
    const QString box = QStringLiteral("Could not connect to 127.0.0.1 port %1: connection refused").arg(freePort);
    EXPECT_EQ(MessageBox::answered(), (QStringList{box, box}));
    EXPECT_EQ(MessageBox::answeredIcons(), (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
    EXPECT_LT(firstAfter, 1000);
    EXPECT_EQ(chatLines(*table), QStringList{kMulti});
    MessageBox::clearAnswered();
}

/// A table that joined a FakeHost, which then speaks for the host line by line.
class TchatSession : public ::testing::Test {
protected:
    TchatSession()
        : table(makeTable({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, host.port())),
          sent(*table), sounds(table.get(), &Tchat::soundRequested), closed(table.get(), &Tchat::tableClosed)
    {
        table->processparams();
        EXPECT_TRUE(QTest::qWaitFor([this] { return host.hasTable(); }, kWait));
    }

    /// Sends @p lines from the host and waits until the table has handled all of them.
    void hostSays(const QStringList& lines)
    {
        QSignalSpy handled(&table->link(), &TableLink::lineHandled);
        for (const QString& line : lines)
            host.send(line);
        EXPECT_TRUE(QTest::qWaitFor([&] { return handled.count() >= lines.size(); }, kWait));
    }
    void login(int slot, const QString& name = QStringLiteral("Ann"))
    {
        hostSays({QStringLiteral("CMD_sendlogininfo+%1").arg(slot),
                  QStringLiteral("CMD_newplayerinfo+%1+%2").arg(slot).arg(name)});
    }
    QStringList linesAfterLogin() { return chatLines(*table).mid(3); }
    int soundCount(const QString& name) const
    {
        int count = 0;
        for (const QList<QVariant>& call : sounds)
            count += call.at(0).toString() == name ? 1 : 0;
        return count;
    }

    FakeHost host;
    std::unique_ptr<Tchat> table;
    SentLines sent;
    QSignalSpy sounds;
    QSignalSpy closed;
};

TEST_F(TchatSession, LoginAnswersWithTheSlotTheVersionAndTheName)
{
    hostSays({QStringLiteral("CMD_sendlogininfo+3")});
    EXPECT_EQ(table->state().myseat, 3);
    EXPECT_TRUE(table->state().connected);
    EXPECT_EQ(sent.lines(), QStringList{QStringLiteral("CMD_logininfo+3+1.0.5+Ann")});
    EXPECT_TRUE(QTest::qWaitFor([this] { return !host.receivedLines().isEmpty(); }, kWait));
    EXPECT_EQ(host.receivedLines().first(), QByteArray("CMD_logininfo+3+1.0.5+Ann"));
}

TEST_F(TchatSession, ArrivalsWriteOneLineEachFillTheSeatsAndListTheSpectators)
{
    login(3);
    hostSays({QStringLiteral("CMD_existingplayers+1+Hosty"), QStringLiteral("CMD_existingplayers+6+Zed"),
              QStringLiteral("CMD_newplayerinfo+2+Bob")});
    EXPECT_EQ(chatLines(*table),
              (QStringList{kMulti, QStringLiteral("You are Connected."),
                           QStringLiteral("Press Ctrl-i for quick instructions."),
                           QStringLiteral("Hosty is Connected."), QStringLiteral("Zed is Connected."),
                           QStringLiteral("Zed is spying."), QStringLiteral("Bob is Connected.")}));
    EXPECT_EQ(nameOf(*table, 1), QStringLiteral("Hosty"));
    EXPECT_EQ(nameOf(*table, 2), QStringLiteral("Bob"));
    EXPECT_EQ(nameOf(*table, 3), QStringLiteral("Ann"));
    EXPECT_EQ(table->spys(), QStringList{QStringLiteral("6: Zed")});
    EXPECT_EQ(soundCount(QStringLiteral("entered")), 4);
    EXPECT_FALSE(sent.any(QStringLiteral("CMD_botspeed")));
}

TEST_F(TchatSession, TheHostsTableTellsTheBotSpeedAtEveryArrival)
{
    table->setChosenbotspeed(500);
    login(1);
    hostSays({QStringLiteral("CMD_newplayerinfo+2+Bob"), QStringLiteral("CMD_newplayerinfo+7+Eve")});
    // Reading the settings at the own login tells the speed and the computer players' level first.
    EXPECT_EQ(sent.lines(),
              (QStringList{QStringLiteral("CMD_logininfo+1+1.0.5+Ann"), QStringLiteral("CMD_botspeed+1+500+"),
                           QStringLiteral("CMD_botlevel+1+classic+"), QStringLiteral("CMD_botlevel+2+classic+"),
                           QStringLiteral("CMD_botlevel+3+classic+"), QStringLiteral("CMD_botlevel+4+classic+"),
                           QStringLiteral("CMD_botspeed+1+500+"), QStringLiteral("CMD_botspeed+1+500+"),
                           QStringLiteral("CMD_botspeed+1+500+")}));
}

TEST_F(TchatSession, ASpectatorsOwnLoginSaysItIsSpying)
{
    login(5);
    EXPECT_EQ(chatLines(*table),
              (QStringList{kMulti, QStringLiteral("You are Connected."),
                           QStringLiteral("Press Ctrl-i for quick instructions."), QStringLiteral("You are spying.")}));
    EXPECT_EQ(table->spys(), QStringList{QStringLiteral("5: Ann")});
}

TEST_F(TchatSession, DeparturesGiveTheSeatBackToItsComputerPlayer)
{
    login(4);
    hostSays({QStringLiteral("CMD_existingplayers+1+Hosty"), QStringLiteral("CMD_existingplayers+3+Bob"),
              QStringLiteral("CMD_existingplayers+6+Zed")});
    table->board().setEyesShown(3, true);
    const int before = int(chatLines(*table).size());
    hostSays({QStringLiteral("CMD_playerdisconnected+3+Bob"), QStringLiteral("CMD_playerdisconnected+1+Hosty"),
              QStringLiteral("CMD_playerdisconnected+3+Bob"), QStringLiteral("CMD_playerdisconnected+6+Zed"),
              QStringLiteral("CMD_playerdisconnected+6+Zed"), QStringLiteral("CMD_playerdisconnected+8+Nobody")});
    EXPECT_EQ(chatLines(*table).mid(before),
              (QStringList{QStringLiteral("Bob disconnected."), QStringLiteral("Hosty disconnected."),
                           QStringLiteral("Zed has left.")}));
    EXPECT_EQ(nameOf(*table, 3), QStringLiteral("Klick"));
    EXPECT_EQ(nameOf(*table, 1), QString());
    EXPECT_FALSE(table->board().eyes(3)->isVisibleTo(&table->board()));
    EXPECT_TRUE(table->spys().isEmpty());
}

TEST_F(TchatSession, VersionWarningsAreSystemLines)
{
    login(1);
    hostSays({QStringLiteral("CMD_havewrongversion+Bob"), QStringLiteral("CMD_wrongversion+")});
    EXPECT_EQ(linesAfterLogin(),
              (QStringList{QStringLiteral("Bob has a different version of the game then you."),
                           QStringLiteral("You have a differnt version of the game then the host.")}));
}

TEST_F(TchatSession, MalformedLinesAreDroppedAndLoggedWithoutABox)
{
    MessageBoxes boxes;
    LogCapture log;
    login(2);
    hostSays({QStringLiteral("CMD_newplayerinfo+x+Bob"), QStringLiteral("CMD_chat+y+Bob chats: hi|clRed"),
              QStringLiteral("CMD_placecard+1+q+1+t+"), QStringLiteral("CMD_nobody+1"),
              QStringLiteral("CMD_newplayerinfo+3+Cid")});
    EXPECT_EQ(linesAfterLogin(), QStringList{QStringLiteral("Cid is Connected.")});
    EXPECT_TRUE(log.warnings.contains(QStringLiteral("'x' is not a valid integer value")));
    EXPECT_TRUE(log.warnings.contains(QStringLiteral("'y' is not a valid integer value")));
    EXPECT_TRUE(log.warnings.contains(QStringLiteral("'q' is not a valid integer value")));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(TchatSession, ChatterSoundsAndGameSoundsAreReportedNotPlayed)
{
    QSignalSpy chatter(table.get(), &Tchat::chatterSoundReceived);
    login(2);
    hostSays({QStringLiteral("CMD_playasound+3+wave3+")});
    ASSERT_EQ(chatter.count(), 1);
    EXPECT_EQ(chatter.at(0).at(0).toInt(), 3);
    EXPECT_EQ(chatter.at(0).at(1).toString(), QStringLiteral("wave3"));
}

TEST_F(TchatSession, GameIsFullShowsItsBoxThenClosesTheTable)
{
    MessageBoxes boxes;
    host.send(QStringLiteral("CMD_full+"));
    host.close();
    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Game is full")});
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(table->isVisible());
}

TEST_F(TchatSession, TheHostClosingTheConnectionClosesTheTable)
{
    table->show();
    login(2);
    host.close();
    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_FALSE(table->isVisible());
}

TEST_F(TchatSession, StartingAGameNeedsAConnectionAndSendsTheMarkedLength)
{
    MessageBoxes boxes;
    table->startGameAction()->setEnabled(true);
    table->startGameAction()->trigger();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("You are not connected")});
    EXPECT_FALSE(table->gamestart().isVisible());

    login(1);
    table->startGameAction()->trigger();
    EXPECT_TRUE(table->gamestart().isVisible());
    table->gamestart().label_descrip3Click(2);
    table->gamestart().button_startClick();
    EXPECT_FALSE(table->gamestart().isVisible());
    EXPECT_EQ(sent.lines().last(), QStringLiteral("CMD_startgame+Ann+h+"));
}

TEST_F(TchatSession, ExitClosesTheWindow)
{
    table->show();
    table->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(table->isVisible());
}

} // namespace
