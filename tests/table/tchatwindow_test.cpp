#include "board.h"
#include "chatbuttons.h"
#include "chatpane.h"
#include "chatview.h"
#include "instructionspanel.h"
#include "printers.h"
#include "tablelink.h"
#include "tabout.h"
#include "tallyrecorder.h"
#include "tchat.h"
#include "tchatfixture.h"
#include "thelp.h"
#include "tphrases.h"
#include "tspylist.h"
#include "ttallylist.h"
#include "waituntil.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <functional>

using namespace morlu;
using namespace morlu::test;

namespace {

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
    const QString box = QStringLiteral("Could not connect to 127.0.0.1 port %1: connection refused\n\nNo game is "
                                       "hosted on that port there: check the address and the port, and that the game "
                                       "has been started (File > Host Game).")
                            .arg(freePort);
    EXPECT_EQ(MessageBox::answered(), (QStringList{box, box}));
    EXPECT_EQ(MessageBox::answeredIcons(), (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
    EXPECT_EQ(chatLines(*table), QStringList{kMulti});
    MessageBox::clearAnswered();
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
