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

class RoundDisplayTest : public TableFixture {
protected:
    std::vector<int> marks() const
    {
        std::vector<int> shown;
        for (int code = 1; code <= 6; ++code)
            if (board.chooser()->isMarked(code))
                shown.push_back(code);
        return shown;
    }
};

TEST_F(RoundDisplayTest, GameLengthSetsMarksLabelTotalAndCounter)
{
    struct Row {
        const char* letter;
        std::vector<int> marks;
        const char* label;
        int total;
        const char* counter;
    };
    const Row rows[] = {
        {"s", {1, 2, 3, 4}, "SHORT GAME", 8, "CONTRACT: 0/8"},
        {"h", {1, 2}, "HALF GAME", 16, "CONTRACT: 0/16"},
        {"l", {}, "LONG GAME", 24, "CONTRACT: 0/24"},
        {"x", {}, "LONG GAME", 24, "CONTRACT: 0/24"},
    };
    for (const Row& row : rows) {
        display.clearall();
        display.setgametype(QString::fromLatin1(row.letter));
        EXPECT_EQ(marks(), row.marks) << row.letter;
        EXPECT_EQ(textOf("label_gametype"), QString::fromLatin1(row.label));
        EXPECT_EQ(state.contracttotal, row.total);
        EXPECT_EQ(textOf("label_round"), QString::fromLatin1(row.counter));
    }
    // Showing the length never hides a mark.
    board.chooser()->setMarked(6, true);
    display.setgametype(QStringLiteral("h"));
    EXPECT_EQ(marks(), (std::vector<int>{1, 2, 6}));
}

TEST_F(RoundDisplayTest, ClearAllResetsTheSeatsMarksAndMarkers)
{
    openRound(2, "s");
    display.choosehand("2+6+0+");
    board.scoreLabel(3)->setText(QStringLiteral("$9200"));
    board.setBonusText(3, QStringLiteral("-800"));
    board.setEyesShown(2, true);
    board.playedCard(4)->drawCard(12);
    board.placeLead(4);
    board.placeTaker(4);
    Board::showInFront(board.chooseContractBanner());
    state.chooserseat = 2;

    display.clearall();
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(board.scoreLabel(seat)->text(), QStringLiteral("$10000"));
        EXPECT_EQ(board.bonusLabel(seat)->text(), QString());
        EXPECT_EQ(board.cardCountLabel(seat)->text(), QString());
        EXPECT_EQ(board.playedCard(seat)->picture(), 0);
        EXPECT_TRUE(board.eyes(seat)->isHidden());
    }
    EXPECT_TRUE(marks().empty());
    EXPECT_EQ(state.chooserseat, 0);
    for (const char* hidden : {"panel_domino", "image_lead", "image_Taker", "image_choosecontract"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    EXPECT_EQ(textOf("label_handtype"), QString());
}

TEST_F(RoundDisplayTest, ContractCodesShowTheirLineLogAndRankOrder)
{
    const char* lines[] = {"MORLU - Avoid the King of Hearts.",
                           "WATERLOO - Avoid All Queens.",
                           "SIEGE - Avoid All Spades.",
                           "TOUCHE - Do not take the First or Last Trick.",
                           "GUILLOTINE - Your HEAD is on the block. Avoid ALL!",
                           "DOMINO - Avoid being the last player with cards."};
    const char* logs[] = {"MORLU", "WATERLOO", "SIEGE", "TOUCHE", "GUILLOTINE", "DOMINO"};
    for (int code = 1; code <= 6; ++code) {
        display.setcontract(code);
        EXPECT_EQ(textOf("label_handtype"), QString::fromLatin1(lines[code - 1]));
        EXPECT_EQ(lastLog(), QString::fromLatin1(logs[code - 1]));
    }
    EXPECT_EQ(textOf("label_rank"), QStringLiteral("AMERICAN ORDER OF RANKS IS USED: 7-8-9-10-J-Q-K-A"));
    EXPECT_EQ(board.rankLabel()->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(shown("panel_domino"));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(board.dominoRank(n)->text(), QStringLiteral("?"));
        EXPECT_EQ(board.cardCountLabel(n)->text(), QStringLiteral("CARDS: 8"));
    }

    // An unknown code leaves the contract line and the log alone, and plays by the French order.
    const int logCount = static_cast<int>(logLines().size());
    display.setcontract(9);
    EXPECT_EQ(textOf("label_handtype"), QStringLiteral("DOMINO - Avoid being the last player with cards."));
    EXPECT_EQ(static_cast<int>(logLines().size()), logCount);
    EXPECT_EQ(textOf("label_rank"), QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7"));
    EXPECT_EQ(board.rankLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_FALSE(shown("panel_domino"));
}

TEST_F(RoundDisplayTest, DominoContractClearsFoundationsAndPlayedCards)
{
    board.foundation(2)->drawCard(10);
    board.playedCard(3)->drawCard(11);
    board.placeLead(3);
    display.setcontract(6);
    EXPECT_EQ(board.foundation(2)->picture(), 0);
    EXPECT_EQ(board.playedCard(3)->picture(), 0);
    EXPECT_FALSE(shown("image_lead"));
}

TEST_F(RoundDisplayTest, TurnComparesNamesNotSeats)
{
    openRound(2);
    board.setSeatName(3, QStringLiteral("You")); // another player bears the same name
    services.sounds.clear();

    display.getnextplayer("2+");
    EXPECT_EQ(state.turnseat, 2);
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Klot's turn."));
    EXPECT_EQ(board.turnMarker()->pos(), QPoint(359 - 26, 53));
    EXPECT_TRUE(shown("image_Turn"));
    EXPECT_TRUE(services.sounds.isEmpty());

    display.getnextplayer("3+");
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Your Turn."));
    EXPECT_EQ(services.sounds, QStringList{QStringLiteral("turn")});

    services.turnSound = 1;
    display.getnextplayer("1+");
    EXPECT_EQ(services.sounds.constLast(), QStringLiteral("turnnew"));

    display.getnextplayer("0+");
    EXPECT_EQ(state.turnseat, 0);
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Your Turn."));
    EXPECT_EQ(services.sounds.size(), 2);
}

TEST_F(RoundDisplayTest, StartGameClearsShowsLengthAndNamesTheComputerSeats)
{
    board.setSeatName(3, QStringLiteral("Ann"));
    Board::showInFront(board.winnerPanel());
    board.scoreLabel(2)->setText(QStringLiteral("$-400"));
    display.startthegame("Ann+h+");
    EXPECT_FALSE(shown("button_start"));
    EXPECT_FALSE(shown("panel_winner"));
    EXPECT_EQ(services.justWatch, std::vector<bool>{false});
    EXPECT_EQ(board.scoreLabel(2)->text(), QStringLiteral("$10000"));
    EXPECT_EQ(textOf("label_status"), QString());
    EXPECT_EQ(textOf("label_gametype"), QStringLiteral("HALF GAME"));
    EXPECT_EQ(textOf("label_round"), QStringLiteral("CONTRACT: 0/16"));
    ASSERT_EQ(services.chat.size(), 1u);
    EXPECT_EQ(services.chat[0].first, QStringLiteral("0+Ann has started a game."));
    EXPECT_EQ(services.chat[0].second, 0xFF0000u);
    EXPECT_EQ(board.seatName(1), QStringLiteral("You"));
    EXPECT_EQ(board.seatName(2), QStringLiteral("Klot"));
    EXPECT_EQ(board.seatName(3), QStringLiteral("Ann"));
    EXPECT_EQ(board.seatName(4), QStringLiteral("Kling"));

    // Seat 1 keeps "<Waiting>": it has no computer name of its own on the table.
    Board other;
    TableState otherState;
    morlu::test::RecordingServices otherServices;
    GameDisplay otherDisplay(other, otherState, otherServices);
    otherDisplay.startthegame("Zed+s+");
    EXPECT_EQ(other.seatName(1), QStringLiteral("<Waiting>"));
    EXPECT_EQ(other.seatName(3), QStringLiteral("Klick"));
}

TEST_F(RoundDisplayTest, StartGameTakesAUtf8NameWithAPlus)
{
    display.startthegame("J\xC3\xBCrgen+Co+s+");
    EXPECT_EQ(services.chat.at(0).first, QStringLiteral("0+J\u00FCrgen+Co has started a game."));
    EXPECT_EQ(textOf("label_gametype"), QStringLiteral("SHORT GAME"));
}

TEST_F(RoundDisplayTest, OwnRoundOpensTheChooser)
{
    display.startthegame("You+s+");
    display.startround("1+3+");
    EXPECT_EQ(state.chooserseat, 1);
    EXPECT_EQ(state.directorseat, 1);
    EXPECT_EQ(state.contractnumber, 3);
    EXPECT_EQ(logLines().mid(logLines().size() - 3), (QStringList{QString(), QStringLiteral("CONTRACT 3 is starting."),
                                                                  QStringLiteral("You are the director")}));
    EXPECT_EQ(textOf("label_round"), QStringLiteral("CONTRACT: 3/8"));
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Choose a CONTRACT."));
    EXPECT_EQ(textOf("label_fee"), QStringLiteral("Get Ready to Cash In!"));
    EXPECT_TRUE(shown("panel_choosen"));
    EXPECT_TRUE(shown("image_choosecontract"));
    EXPECT_TRUE(shown("image_director"));
    EXPECT_EQ(board.directorMarker()->pos(), QPoint(249 - 35, 18));
    EXPECT_EQ(services.sounds.constLast(), QStringLiteral("startround"));
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

    display.startround("4+2+");
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Kling is choosing a CONTRACT."));
    EXPECT_EQ(textOf("label_fee"), QStringLiteral("All fees payable to Kling"));
    EXPECT_EQ(lastLog(), QStringLiteral("Kling is the director"));
    EXPECT_EQ(board.directorMarker()->pos(), QPoint(587 - 35, 18));
    EXPECT_EQ(state.chooserseat, 4);
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
    display.startthegame("Ann+l+");
    display.startround("3+1+");
    display.mycards("3+1+3+2+7+3+11+4+15+5+19+6+23+7+27+8+32");
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
    display.placecard("1+9+3+t+");
    display.mycards("1+5+20+9+30");
    EXPECT_TRUE(board.handPlace(3)->isHidden());
    EXPECT_EQ(board.handPlace(3)->slot(), 0);
    EXPECT_EQ(board.handPlace(5)->cardCode(), 20);
    EXPECT_EQ(board.handPlace(5)->picture(), 20);
    EXPECT_EQ(board.handPlace(4)->cardCode(), 12);

    // No pairs, or a spectator's seat: nothing changes.
    display.mycards("1");
    display.mycards("6+1+30");
    EXPECT_EQ(board.handPlace(1)->cardCode(), 2);
    // A catch-up names only the held slots, and brings a played place back.
    display.mycards("1+3+9");
    EXPECT_FALSE(board.handPlace(3)->isHidden());
    EXPECT_EQ(board.handPlace(3)->slot(), 3);
}

TEST_F(RoundDisplayTest, ChosenContractClosesTheChooserAndMarksOwnChoice)
{
    openRound(1);
    display.choosehand("1+3+0+");
    EXPECT_EQ(state.chooserseat, 0);
    EXPECT_TRUE(board.chooser()->isMarked(3));
    EXPECT_FALSE(shown("panel_choosen"));
    EXPECT_FALSE(shown("image_choosecontract"));
    EXPECT_EQ(textOf("label_handtype"), QStringLiteral("SIEGE - Avoid All Spades."));
    EXPECT_EQ(lastLog(), QStringLiteral("SIEGE"));
    EXPECT_EQ(services.sounds.constLast(), QStringLiteral("choosecontract"));

    // Another director's choice is no mark on this table.
    display.startround("2+2+");
    display.choosehand("2+5+0+");
    EXPECT_FALSE(board.chooser()->isMarked(5));
    EXPECT_EQ(textOf("label_handtype"), QStringLiteral("GUILLOTINE - Your HEAD is on the block. Avoid ALL!"));
}

TEST_F(RoundDisplayTest, TwoRefusedContractsLeaveTwoLinesAndReopenChoosing)
{
    openRound(1);
    state.chooserseat = 0;
    display.alreadychoose("1+2+");
    display.alreadychoose("1+4+");
    EXPECT_EQ(state.chooserseat, 1);
    EXPECT_EQ(errorLines(), (QStringList{QStringLiteral("You have already choosen that type of CONTRACT."),
                                         QStringLiteral("You have already choosen that type of CONTRACT.")}));
    EXPECT_TRUE(board.chooser()->isMarked(2));
    EXPECT_TRUE(board.chooser()->isMarked(4));
    EXPECT_TRUE(shown("image_choosecontract"));
    EXPECT_TRUE(shown("panel_choosen"));
    EXPECT_TRUE(shown("panel_error"));
    const QObjectList siblings = board.children();
    EXPECT_GT(siblings.indexOf(board.errorPanel()), siblings.indexOf(board.chooser()));
    EXPECT_EQ(services.sounds.filter(QStringLiteral("error")).size(), 2);

    // A seat above 4 is ignored.
    display.alreadychoose("5+6+");
    EXPECT_FALSE(board.chooser()->isMarked(6));
    EXPECT_EQ(errorLines().size(), 2);
}

TEST_F(RoundDisplayTest, UsedContractsMarkOnlyForTheOwnSeat)
{
    display.handsused("2+1+5");
    EXPECT_TRUE(marks().empty());
    display.handsused("1");
    EXPECT_TRUE(marks().empty());
    display.handsused("1+1+5+6");
    EXPECT_EQ(marks(), (std::vector<int>{1, 5, 6}));
}

TEST_F(RoundDisplayTest, WatchingMarksTheSeatAndTheOwnMenuItem)
{
    openRound(2);
    services.chat.clear();
    services.justWatch.clear();
    display.justwatching("3+1");
    display.justwatching("1+1");
    display.justwatching("3+2");
    display.justwatching("7+1");
    EXPECT_EQ(services.chatLines(),
              (QStringList{QStringLiteral("0+Klick is just watching"), QStringLiteral("0+You is just watching"),
                           QStringLiteral("0+Klick is now playing again")}));
    EXPECT_EQ(services.justWatch, std::vector<bool>{true});
    EXPECT_TRUE(shown("image_eyes1"));
    EXPECT_FALSE(shown("image_eyes3"));
    display.justwatching("1+2");
    EXPECT_EQ(services.justWatch, (std::vector<bool>{true, false}));
    EXPECT_FALSE(shown("image_eyes1"));
}

} // namespace
