#include "artpicture.h"
#include "board.h"
#include "printers.h"
#include "seatcontrols.h"
#include "tallyfile.h"
#include "tallyrecorder.h"
#include "tchat.h"
#include "tchatfixture.h"
#include "tempdir.h"
#include "tgamestart.h"
#include "tspylist.h"

#include <QAction>
#include <QFile>

#include <gtest/gtest.h>

#include <string>

using namespace morlu;
using namespace morlu::test;

namespace {

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
    hostSays({QStringLiteral("CMD_playerdisconnected+6+Zed"), QStringLiteral("CMD_startgame+Hosty+s+"),
              QStringLiteral("CMD_winner+Hosty+")});
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

} // namespace
