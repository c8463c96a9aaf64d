#include "rounddisplay.h"

#include "artpicture.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "printers.h"
#include "tablefixture.h"
#include "titledpanel.h"

#include <QColor>

#include <gtest/gtest.h>

namespace {

using morlu::test::TableFixture;

class RoundDisplayTest : public TableFixture {};

TEST_F(RoundDisplayTest, TurnGoesByTheOwnSeatNotTheName)
{
    openRound(2);
    board.setSeatName(3, QStringLiteral("You")); // another player bears the name this table asked for
    heard.sounds.clear();

    round.getnextplayer("2+");
    EXPECT_EQ(display.model().turn(), 2);
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Klot's turn."));
    EXPECT_EQ(board.turnMarker()->pos(), QPoint(359 - 26, 53));
    EXPECT_TRUE(shown("image_Turn"));
    EXPECT_TRUE(heard.sounds.isEmpty());

    round.getnextplayer("3+");
    EXPECT_EQ(textOf("label_status"), QStringLiteral("You's turn."));
    EXPECT_TRUE(heard.sounds.isEmpty());

    // The own seat, renamed by the host ("You (2)"), is still the player's turn.
    board.setSeatName(1, QStringLiteral("You (2)"));
    round.getnextplayer("1+");
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Your Turn."));
    EXPECT_EQ(heard.sounds, QStringList{QStringLiteral("turn")});

    events.setChosenturnsound(1);
    round.getnextplayer("1+");
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("turnnew"));

    round.getnextplayer("0+");
    EXPECT_EQ(display.model().turn(), 0);
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Your Turn."));
    EXPECT_EQ(heard.sounds.size(), 2);
}

TEST_F(RoundDisplayTest, StartGameClearsShowsLengthAndNamesTheComputerSeats)
{
    board.setSeatName(3, QStringLiteral("Ann"));
    Board::showInFront(board.winnerPanel());
    board.scoreLabel(2)->setText(QStringLiteral("$-400"));
    round.startthegame("Ann+h+");
    EXPECT_FALSE(shown("button_start"));
    EXPECT_FALSE(shown("panel_winner"));
    EXPECT_EQ(heard.justWatch, std::vector<bool>{false});
    EXPECT_EQ(board.scoreLabel(2)->text(), QStringLiteral("$10000"));
    EXPECT_EQ(textOf("label_status"), QString());
    EXPECT_EQ(textOf("label_gametype"), QStringLiteral("HALF GAME"));
    EXPECT_EQ(textOf("label_round"), QStringLiteral("CONTRACT: 0/16"));
    ASSERT_EQ(chat.lines.size(), 1u);
    EXPECT_EQ(chat.lines[0].first, QStringLiteral("0+Ann has started a game."));
    EXPECT_EQ(chat.lines[0].second, 0xFF0000u);
    EXPECT_EQ(board.seatName(1), QStringLiteral("You"));
    EXPECT_EQ(board.seatName(2), QStringLiteral("Klot"));
    EXPECT_EQ(board.seatName(3), QStringLiteral("Ann"));
    EXPECT_EQ(board.seatName(4), QStringLiteral("Kling"));

    // Seat 1 keeps "<Waiting>": it has no computer name of its own on the table.
    Board other;
    TableState otherState;
    morlu::test::ChatRecorder otherChat;
    TableEvents otherEvents;
    BoardDisplay otherBoard(other, otherState, otherEvents);
    RoundDisplay otherDisplay(otherBoard, otherChat, otherEvents);
    otherDisplay.startthegame("Zed+s+");
    EXPECT_EQ(other.seatName(1), QStringLiteral("<Waiting>"));
    EXPECT_EQ(other.seatName(3), QStringLiteral("Klock"));
}

TEST_F(RoundDisplayTest, StartGameTakesAUtf8NameWithAPlus)
{
    round.startthegame("J\xC3\xBCrgen+Co+s+");
    EXPECT_EQ(chat.lines.at(0).first, QStringLiteral("0+J\u00FCrgen+Co has started a game."));
    EXPECT_EQ(textOf("label_gametype"), QStringLiteral("SHORT GAME"));
}

TEST_F(RoundDisplayTest, OwnRoundOpensTheChooser)
{
    round.startthegame("You+s+");
    round.startround("1+3+");
    EXPECT_EQ(display.model().chooser(), 1);
    EXPECT_EQ(display.model().director(), 1);
    EXPECT_EQ(display.model().round(), 3);
    EXPECT_EQ(logLines().mid(logLines().size() - 3), (QStringList{QString(), QStringLiteral("CONTRACT 3 is starting."),
                                                                  QStringLiteral("You are the director")}));
    EXPECT_EQ(textOf("label_round"), QStringLiteral("CONTRACT: 3/8"));
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Choose a CONTRACT."));
    EXPECT_EQ(textOf("label_fee"), QStringLiteral("Get Ready to Cash In!"));
    EXPECT_TRUE(shown("panel_choosen"));
    EXPECT_TRUE(shown("image_choosecontract"));
    EXPECT_TRUE(shown("image_director"));
    EXPECT_EQ(board.directorMarker()->pos(), QPoint(249 - 35, 18));
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("startround"));
    // The chooser lies in front of the game log and the error panel.
    const QObjectList siblings = board.children();
    EXPECT_GT(siblings.indexOf(board.chooser()), siblings.indexOf(board.logPanel()));
    EXPECT_GT(siblings.indexOf(board.chooser()), siblings.indexOf(board.errorPanel()));
}

TEST_F(RoundDisplayTest, AnotherDirectorsRoundClearsTheTrickAndNamesHim)
{
    openRound(1);
    Board::showInFront(board.chooser());
    board.playedCard(2)->drawCard(5);
    board.setBonusText(2, QStringLiteral("+200"));
    board.setCardCountText(2, QStringLiteral("CARDS: 3"));
    board.handTypeLabel()->setText(QStringLiteral("old"));
    for (auto place : {&Board::placeLead, &Board::placeTaker, &Board::placeTurn})
        (board.*place)(2);
    Board::showInFront(board.dominoPanel());

    round.startround("4+2+");
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Kling is choosing a CONTRACT."));
    EXPECT_EQ(textOf("label_fee"), QStringLiteral("All fees payable to Kling"));
    EXPECT_EQ(lastLog(), QStringLiteral("Kling is the director"));
    EXPECT_EQ(board.directorMarker()->pos(), QPoint(587 - 35, 18));
    EXPECT_EQ(display.model().chooser(), 4);
    for (const char* hidden :
         {"panel_choosen", "image_choosecontract", "panel_domino", "image_Taker", "image_lead", "image_Turn"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    EXPECT_EQ(board.playedCard(2)->picture(), 0);
    EXPECT_EQ(board.bonusLabel(2)->text(), QString());
    EXPECT_EQ(board.cardCountLabel(2)->text(), QString());
    EXPECT_EQ(textOf("label_handtype"), QString());
}

TEST_F(RoundDisplayTest, SeatThreeShowsItsOwnNameInColumnThreeAndItsCardsBelow)
{
    state.myseat = 3;
    state.myname = QStringLiteral("Cleo");
    board.setSeatName(1, QStringLiteral("Ann"));
    board.setSeatName(3, QStringLiteral("Cleo"));
    round.startthegame("Ann+l+");
    round.startround("3+1+");
    round.mycards("3+1+3+2+7+3+11+4+15+5+19+6+23+7+27+8+32");
    EXPECT_EQ(textOf("label_playername3"), QStringLiteral("Cleo"));
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Choose a CONTRACT."));
    EXPECT_EQ(board.directorMarker()->pos(), QPoint(475 - 35, 18));
    const int codes[] = {3, 7, 11, 15, 19, 23, 27, 32};
    for (int k = 1; k <= 8; ++k) {
        CardPlace* place = board.handPlace(k);
        EXPECT_EQ(place->pos(), QPoint(264 + 56 * (k - 1), 160));
        EXPECT_EQ(place->slot(), k);
        EXPECT_EQ(place->cardCode(), codes[k - 1]);
        EXPECT_EQ(place->picture(), codes[k - 1]);
        EXPECT_FALSE(place->isHidden());
    }
    // Another table joining changes nothing in the columns.
    board.setSeatName(4, QStringLiteral("Dan"));
    EXPECT_EQ(textOf("label_playername3"), QStringLiteral("Cleo"));
    EXPECT_EQ(board.nameLabel(3)->pos(), QPoint(475, 19));
}

TEST_F(RoundDisplayTest, MyCardsTouchesOnlyTheNamedPlaces)
{
    openRound(2);
    game.placecard("1+9+3+t+");
    round.mycards("1+5+20");
    EXPECT_TRUE(board.handPlace(3)->isHidden());
    EXPECT_EQ(board.handPlace(3)->slot(), 0);
    EXPECT_EQ(board.handPlace(5)->cardCode(), 20);
    EXPECT_EQ(board.handPlace(5)->picture(), 20);
    EXPECT_EQ(board.handPlace(4)->cardCode(), 12);

    // No pairs, or a spectator's seat: nothing changes.
    round.mycards("1");
    round.mycards("6+1+30");
    EXPECT_EQ(board.handPlace(1)->cardCode(), 2);
    // A catch-up names only the held slots, and brings a played place back.
    round.mycards("1+3+9");
    EXPECT_FALSE(board.handPlace(3)->isHidden());
    EXPECT_EQ(board.handPlace(3)->slot(), 3);
}

TEST_F(RoundDisplayTest, ChosenContractClosesTheChooserAndMarksOwnChoice)
{
    openRound(1);
    round.choosehand("1+3+0+");
    EXPECT_EQ(display.model().chooser(), 0);
    EXPECT_TRUE(board.chooser()->isMarked(3));
    EXPECT_FALSE(shown("panel_choosen"));
    EXPECT_FALSE(shown("image_choosecontract"));
    EXPECT_EQ(textOf("label_handtype"), QStringLiteral("SIEGE - Avoid All Spades."));
    EXPECT_EQ(lastLog(), QStringLiteral("SIEGE"));
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("choosecontract"));

    // Another director's choice is no mark on this table.
    round.startround("2+2+");
    round.choosehand("2+5+0+");
    EXPECT_FALSE(board.chooser()->isMarked(5));
    EXPECT_EQ(textOf("label_handtype"), QStringLiteral("GUILLOTINE - Your HEAD is on the block. Avoid ALL!"));
}

TEST_F(RoundDisplayTest, TwoRefusedContractsLeaveTwoLinesAndReopenChoosing)
{
    openRound(1);
    round.alreadychoose("1+2+");
    round.alreadychoose("1+4+");
    EXPECT_EQ(display.model().chooser(), 1);
    EXPECT_EQ(errorLines(), (QStringList{QStringLiteral("You have already choosen that type of CONTRACT."),
                                         QStringLiteral("You have already choosen that type of CONTRACT.")}));
    EXPECT_TRUE(board.chooser()->isMarked(2));
    EXPECT_TRUE(board.chooser()->isMarked(4));
    EXPECT_TRUE(shown("image_choosecontract"));
    EXPECT_TRUE(shown("panel_choosen"));
    EXPECT_TRUE(shown("panel_error"));
    const QObjectList siblings = board.children();
    EXPECT_GT(siblings.indexOf(board.errorPanel()), siblings.indexOf(board.chooser()));
    EXPECT_EQ(heard.sounds.filter(QStringLiteral("error")).size(), 2);

    // A seat above 4 is ignored.
    round.alreadychoose("5+6+");
    EXPECT_FALSE(board.chooser()->isMarked(6));
    EXPECT_EQ(errorLines().size(), 2);
}

TEST_F(RoundDisplayTest, UsedContractsMarkOnlyForTheOwnSeat)
{
    round.handsused("2+1+5");
    EXPECT_TRUE(marks().empty());
    round.handsused("1");
    EXPECT_TRUE(marks().empty());
    round.handsused("1+1+5+6");
    EXPECT_EQ(marks(), (std::vector<int>{1, 5, 6}));
}

TEST_F(RoundDisplayTest, WatchingMarksTheSeatAndTheOwnMenuItem)
{
    openRound(2);
    chat.lines.clear();
    heard.justWatch.clear();
    round.justwatching("3+1");
    round.justwatching("1+1");
    round.justwatching("3+2");
    round.justwatching("7+1");
    EXPECT_EQ(chat.texts(),
              (QStringList{QStringLiteral("0+Klock is just watching"), QStringLiteral("0+You is just watching"),
                           QStringLiteral("0+Klock is now playing again")}));
    EXPECT_EQ(heard.justWatch, std::vector<bool>{true});
    EXPECT_TRUE(shown("image_eyes1"));
    EXPECT_FALSE(shown("image_eyes3"));
    round.justwatching("1+2");
    EXPECT_EQ(heard.justWatch, (std::vector<bool>{true, false}));
    EXPECT_FALSE(shown("image_eyes1"));
}

} // namespace
