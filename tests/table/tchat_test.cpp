#include "tchat.h"

#include "artpicture.h"
#include "board.h"
#include "chatbuttons.h"
#include "chatpane.h"
#include "chatview.h"
#include "fitlabel.h"
#include "instructionspanel.h"
#include "logcapture.h"
#include "printers.h"
#include "seatcontrols.h"
#include "tablelink.h"
#include "tablerig.h"
#include "tabout.h"
#include "tallyfile.h"
#include "tallyrecorder.h"
#include "tempdir.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tphrases.h"
#include "tspylist.h"
#include "ttallylist.h"
#include "waituntil.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <functional>

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
    EXPECT_EQ(table.mainchat().size(), QSize(748, 150));
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

    // Bob is at the table.
    table.link().dispatcher().dispatch("CMD_newplayerinfo+2+Bob");
    table.chat().systemLine(QStringLiteral("see www.x.org"));
    action("ClearMainChat2")->trigger();
    EXPECT_EQ(chatLines(table), QStringList());

    // A chatter sound before the settings are read is written, not played.
    table.chat().playasound("2+wave4+");
    EXPECT_EQ(chatLines(table), QStringList{QStringLiteral("Bob:  <Chatter Sound> Thank You")});

    table.chat().buttons().setPhrase(4, QStringLiteral("Bravo!"));
    action("PrhaseList1")->trigger();
    ASSERT_TRUE(table.phrases().isVisible());
    EXPECT_EQ(table.phrases().phrase(4), QStringLiteral("Bravo!"));
    EXPECT_EQ(table.phrases().phrase(1), QStringLiteral("Way To Go!"));
    table.phrases().close();
}

TEST(TchatWindow, TheViewAndHelpMenusOpenTheirWindowsWithoutBlockingTheTable)
{
    Tchat table;
    table.show();
    struct Row {
        const char* item;
        std::function<QWidget*()> window;
    };
    const Row rows[] = {
        {"ViewTally1", [&] { return &table.tally().dialog(); }},
        {"SpyList1", [&] { return &table.spylist(); }},
        {"Help2", [&] { return &table.help(); }},
        {"About1", [&] { return &table.about(); }},
    };
    for (const Row& row : rows) {
        auto* action = table.findChild<QAction*>(QString::fromLatin1(row.item));
        ASSERT_TRUE(action->isEnabled()) << row.item;
        action->trigger();
        EXPECT_TRUE(row.window()->isVisible()) << row.item;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << row.item;
        row.window()->hide();
    }
    EXPECT_EQ(table.findChild<QAction*>(QStringLiteral("Help2"))->shortcut(), QKeySequence(Qt::Key_F1));
}

// A join that finds nobody says so at once (the refusal, not the 10-second limit), with the address, the
// port and the reason; Retry tries again and Quit ends the table.
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
    MessageBox::setHook([&](const QString&) { return answers.takeFirst(); });
    table->show();
    ASSERT_TRUE(morlu::test::waitUntil([&] { return closed.count() == 1; }, kWait)) << "closed.count()";
    MessageBox::setHook({});
    const QString box = QStringLiteral("Could not connect to 127.0.0.1 port %1: connection refused").arg(freePort);
    EXPECT_EQ(MessageBox::answered(), (QStringList{box, box}));
    EXPECT_EQ(MessageBox::answeredIcons(), (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
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
    EXPECT_EQ(sent.lines(),
              (QStringList{QStringLiteral("CMD_logininfo+3+1.0.5+Ann"), QStringLiteral("CMD_seatkey+3+")}));
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
    // Reading the settings at the own login tells the speed, the computer players' level and the leave for
    // hints first.
    EXPECT_EQ(sent.lines(),
              (QStringList{QStringLiteral("CMD_logininfo+1+1.0.5+Ann"), QStringLiteral("CMD_seatkey+1+"),
                           QStringLiteral("CMD_botspeed+1+500+"), QStringLiteral("CMD_botlevel+1+classic+"),
                           QStringLiteral("CMD_botlevel+2+classic+"), QStringLiteral("CMD_botlevel+3+classic+"),
                           QStringLiteral("CMD_botlevel+4+classic+"), QStringLiteral("CMD_allowhints+f+"),
                           QStringLiteral("CMD_botspeed+1+500+"), QStringLiteral("CMD_botspeed+1+500+"),
                           QStringLiteral("CMD_botspeed+1+500+")}));
}

// In a larger window the chat text grows with the board, taking the same share of the chat's width; a
// name of 40 characters (the most the host takes) is cut with an ellipsis inside its name box at every
// size, and the tooltip and what a screen reader says keep it whole.
TEST_F(TchatSession, ChatTextAndLongNamesFollowTheWindowSize)
{
    const QString name = QStringLiteral("Wolfgang Amadeus Theophilus Mozartovitch");
    ASSERT_EQ(name.size(), 40);
    login(3);
    hostSays({QStringLiteral("CMD_newplayerinfo+2+") + name, QStringLiteral("CMD_chat+2+Bob chats: hello|clBlack")});
    const QString sample = QStringLiteral("Bob chats: hello there");
    qreal share = 0;
    for (const QSize window : {QSize(789, 595), QSize(1500, 1050)}) {
        SCOPED_TRACE(window.width());
        table->resize(window);
        table->show();
        QCoreApplication::processEvents();
        Board& board = table->board();
        EXPECT_EQ(board.scale() > 1.5, window.width() > 1000) << board.scale();

        // The chat's text, in the font the last line is drawn in, against the chat's width.
        QTextCursor end(table->mainchat().document());
        end.movePosition(QTextCursor::End);
        const QFont drawn = end.charFormat().font();
        const qreal now = QFontMetricsF(drawn).horizontalAdvance(sample) / table->mainchat().width();
        if (share == 0)
            share = now;
        EXPECT_NEAR(now / share, 1.0, 0.12) << drawn.pointSize();
        EXPECT_GE(drawn.pointSize(), table->mainchat().textSize());

        const FitLabel* label = board.nameLabel(2);
        EXPECT_EQ(board.seatName(2), name);
        EXPECT_TRUE(label->isElided());
        EXPECT_TRUE(label->shownText().endsWith(QChar(0x2026))) << qPrintable(label->shownText());
        EXPECT_TRUE(label->contentsRect().contains(label->textRect()));
        EXPECT_EQ(label->toolTip(), name);
        const QString spoken =
            QAccessible::queryAccessibleInterface(const_cast<FitLabel*>(label))->text(QAccessible::Name);
        EXPECT_TRUE(spoken.startsWith(name)) << qPrintable(spoken);
    }
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
    EXPECT_EQ(nameOf(*table, 3), QStringLiteral("Klock"));
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

TEST_F(TchatSession, TheHostEndingTheGameSaysSoThenClosesTheTable)
{
    MessageBoxes boxes;
    table->show();
    login(2);
    host.send(QStringLiteral("CMD_hostclosing+"));
    host.close();
    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("The host has ended the game.")});
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

struct SlotRow {
    int slot;
    bool hostPlayer;
};

class TchatSlot : public TchatSession, public ::testing::WithParamInterface<SlotRow> {};

// A table that only joined gets the host player's controls when the host gives it slot 1, as on a
// dedicated host; a table in any other slot never has them.
TEST_P(TchatSlot, TheHostPlayersControlsFollowSlotOne)
{
    EXPECT_FALSE(table->state().ishost);
    EXPECT_FALSE(table->startGameAction()->isEnabled());
    login(GetParam().slot);
    const bool host = GetParam().hostPlayer;
    EXPECT_EQ(table->board().startButton()->isVisibleTo(&table->board()), host);
    EXPECT_EQ(table->startGameAction()->isEnabled(), host);
    EXPECT_EQ(table->spylist().kickAction()->isEnabled(), host);
    hostSays({QStringLiteral("CMD_newplayerinfo+%1+Bob").arg(GetParam().slot == 2 ? 3 : 2)});
    const int other = GetParam().slot == 2 ? 3 : 2;
    table->seatControls().label_playername1ContextPopup(other);
    EXPECT_EQ(table->seatControls().removeAction()->isEnabled(), host);
}

INSTANTIATE_TEST_SUITE_P(Table, TchatSlot, ::testing::Values(SlotRow{1, true}, SlotRow{2, false}, SlotRow{6, false}),
                         [](const ::testing::TestParamInfo<SlotRow>& info) {
                             return "Slot" + std::to_string(info.param.slot);
                         });

TEST_F(TchatSession, StartGameDuringAGameAsksBeforeThrowingItAway)
{
    login(1);
    hostSays({QStringLiteral("CMD_startgame+Ann+s+")});
    EXPECT_FALSE(table->board().startButton()->isVisibleTo(&table->board()));
    EXPECT_TRUE(table->startGameAction()->isEnabled());
    {
        MessageBoxes boxes; // answers OK, which is no Yes
        table->startGameAction()->trigger();
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("A game is being played. End it and start a new game?")});
        EXPECT_FALSE(table->gamestart().isVisible());
    }
    MessageBox::setNextAnswer(QMessageBox::Yes);
    table->startGameAction()->trigger();
    EXPECT_TRUE(table->gamestart().isVisible());

    hostSays({QStringLiteral("CMD_winner+Ann+")});
    EXPECT_TRUE(table->board().startButton()->isVisibleTo(&table->board()));
}

TEST_F(TchatSession, TheSpyListAndTheTallyFollowTheTableAndTheTallyIsSavedWhenTheHostEnds)
{
    TempDir dir;
    const QString path = dir.file(TallyFile::fileName());
    table->useTallyFile(path);
    table->tally().store().addOpponent(QStringLiteral("Hosty"));
    table->show();
    login(2);
    hostSays({QStringLiteral("CMD_existingplayers+1+Hosty"), QStringLiteral("CMD_existingplayers+6+Zed"),
              QStringLiteral("CMD_newplayerinfo+7+Eve")});
    EXPECT_EQ(table->spylist().entries(), (QStringList{QStringLiteral("6: Zed"), QStringLiteral("7: Eve")}));
    hostSays({QStringLiteral("CMD_playerdisconnected+6+Zed"), QStringLiteral("CMD_winner+Hosty+")});
    EXPECT_EQ(table->spylist().entries(), QStringList{QStringLiteral("7: Eve")});
    EXPECT_EQ(table->tally().store().record(0), (QStringList{"1", "1", "0", "0", "1", "1", "0", "0"}));
    ASSERT_TRUE(QFile::exists(path)) << "saved after the game";

    QFile::remove(path);
    MessageBoxes boxes;
    QString boxSeen;
    MessageBox::setHook([&](const QString& text) {
        boxSeen = text + (QFile::exists(path) ? QStringLiteral(" (saved)") : QString());
        return QMessageBox::Ok;
    });
    host.send(QStringLiteral("CMD_removed+"));
    host.close();
    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_EQ(boxSeen, QStringLiteral("You have been removed from the game. (saved)"));
    morlu::TallyStore saved;
    saved.load(path);
    EXPECT_TRUE(saved.loadError().isEmpty());
    EXPECT_EQ(saved.myGames(), QStringLiteral("1")) << "saved again as the table closed";
    EXPECT_EQ(saved.tallied(), QStringList{QStringLiteral("Hosty")});
}

TEST_F(TchatSession, JustWatchAsksAndItsCheckMarkFollowsTheHost)
{
    login(3);
    auto* justWatch = table->findChild<QAction*>(QStringLiteral("JustWatch1"));
    justWatch->trigger();
    EXPECT_FALSE(justWatch->isChecked());
    hostSays({QStringLiteral("CMD_justwatching+3+1")});
    EXPECT_TRUE(justWatch->isChecked());
    justWatch->trigger();
    EXPECT_EQ(sent.lines().mid(2),
              (QStringList{QStringLiteral("CMD_justwatch+3+1"), QStringLiteral("CMD_justwatch+3+2")}));
}

// While a game runs, File > Exit and the close box ask before leaving it; No keeps the table. A close
// the program decides (the host gone, a stop signal) never asks.
TEST(TchatExit, AsksBeforeLeavingARunningGame)
{
    enum class How { Exit, CloseBox, Program };
    struct Row {
        const char* name;
        bool running;
        How how;
        QMessageBox::StandardButton answer;
        bool asked;
        bool closes;
    };
    const Row rows[] = {
        {"Exit, no game", false, How::Exit, QMessageBox::No, false, true},
        {"Exit, game, No", true, How::Exit, QMessageBox::No, true, false},
        {"Exit, game, Yes", true, How::Exit, QMessageBox::Yes, true, true},
        {"close box, no game", false, How::CloseBox, QMessageBox::No, false, true},
        {"close box, game, No", true, How::CloseBox, QMessageBox::No, true, false},
        {"close box, game, Yes", true, How::CloseBox, QMessageBox::Yes, true, true},
        {"program, game", true, How::Program, QMessageBox::No, false, true},
    };
    for (const Row& row : rows) {
        auto table = makeTable({QStringLiteral("Ann")}, 7772);
        QSignalSpy closed(table.get(), &Tchat::tableClosed);
        table->show();
        if (row.running)
            table->link().dispatcher().dispatch("CMD_startgame+Ann+s+");
        MessageBox::clearAnswered();
        MessageBox::setHook([&row](const QString&) { return row.answer; });
        bool accepted = false;
        if (row.how == How::Exit) {
            table->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
            accepted = !table->isVisible();
        } else if (row.how == How::CloseBox) {
            // What the window manager's close box sends: a close event from outside the program.
            QCloseEvent event;
            QSpontaneKeyEvent::setSpontaneous(&event);
            QApplication::instance()->notify(table.get(), &event); // sendEvent would clear the mark
            accepted = event.isAccepted();
        } else {
            accepted = table->close();
        }
        MessageBox::setHook({});
        EXPECT_EQ(MessageBox::answered().size(), row.asked ? 1 : 0) << row.name;
        EXPECT_EQ(closed.count(), row.closes ? 1 : 0) << row.name;
        EXPECT_EQ(accepted, row.closes) << row.name;
    }
}

TEST_F(TchatSession, ExitClosesTheWindow)
{
    table->show();
    table->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(table->isVisible());
}

} // namespace
