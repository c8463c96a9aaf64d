#include "gamedisplay.h"

#include "artpicture.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "printers.h"
#include "tablefixture.h"
#include "titledpanel.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

// The game display where a game begins and ends for a table: the catch-up of a table that arrives while
// a game runs (a trick, a DOMINO layout, a choice, the own turn), the winner, and the host's start button.

namespace {

using morlu::test::TableFixture;

class GameDisplayCatchUpTest : public TableFixture {};

TEST_F(GameDisplayCatchUpTest, CatchUpDrawsTheRunningTrick)
{
    board.setSeatName(2, QStringLiteral("Bea"));
    state.myseat = 3;
    state.myname = QStringLiteral("Cleo");
    board.setSeatName(3, QStringLiteral("Cleo"));
    game.agame("3+5+h+2+4+3+0+2+0+12+0+15+");
    EXPECT_EQ(board.seatName(1), QStringLiteral("You"));
    EXPECT_EQ(board.seatName(2), QStringLiteral("Bea"));
    EXPECT_EQ(board.seatName(4), QStringLiteral("Kling"));
    EXPECT_EQ(board.directorMarker()->pos(), QPoint(365 - 35, 18));
    EXPECT_TRUE(shown("image_director"));
    EXPECT_EQ(display.model().director(), 2);
    EXPECT_EQ(display.model().turn(), 4);
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Kling's turn."));
    EXPECT_EQ(textOf("label_gametype"), QStringLiteral("HALF GAME"));
    EXPECT_EQ(display.model().round(), 5);
    EXPECT_EQ(textOf("label_round"), QStringLiteral("CONTRACT: 5/16"));
    EXPECT_EQ(textOf("label_handtype"), QStringLiteral("SIEGE - Avoid All Spades."));
    EXPECT_EQ(board.leadMarker()->pos(), QPoint(359 - 4, 67));
    EXPECT_TRUE(shown("image_lead"));
    EXPECT_EQ(board.playedCard(2)->picture(), 12);
    EXPECT_EQ(board.playedCard(4)->picture(), 15);
    EXPECT_EQ(board.playedCard(1)->picture(), 0);
}

// The catch-up of a DOMINO round names the card each seat laid last (here 9S, JD, 10D, 9C; start rank 9):
// each is drawn on its own suit's foundation, the highest of a suit on top, and each seat is guessed to
// hold 7 cards. The layout a host sends after it (Clubs up to the 10) replaces that guess and the card
// counts, and the next card goes on from there; a layout that cannot stand leaves the board as it was.
// (The rows share one table: a catch-up of the round the table saw never raises a count it knew.)
TEST_F(GameDisplayCatchUpTest, CatchUpOfADominoRoundShowsTheLayoutTheHostSends)
{
    const std::string catchUp = "1+2+l+3+1+6+3+0+27+4+7+11+";
    struct Row {
        const char* name;
        std::vector<std::string> after; ///< lines after the catch-up
        std::array<int, 4> foundations;
        std::array<const char*, 4> counts;
    };
    const std::vector<Row> rows = {
        {"the catch-up alone", {}, {4, 11, 0, 27}, {"CARDS: 7", "CARDS: 7", "CARDS: 7", "CARDS: 7"}},
        {"and a layout with a card of another suit",
         {"CMD_dlayout+3+15+4+0+27+7+6+6+7+"},
         {4, 11, 0, 27},
         {"CARDS: 7", "CARDS: 7", "CARDS: 7", "CARDS: 7"}},
        {"and the layout",
         {"CMD_dlayout+3+4+15+0+27+7+6+6+7+"},
         {4, 15, 0, 27},
         {"CARDS: 7", "CARDS: 6", "CARDS: 6", "CARDS: 7"}},
        {"and the next card",
         {"CMD_dlayout+3+4+15+0+27+7+6+6+7+", "CMD_dplacecard+1+2+12+5+3+6+"},
         {4, 12, 0, 27},
         {"CARDS: 6", "CARDS: 6", "CARDS: 6", "CARDS: 7"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        game.agame(catchUp);
        for (const std::string& line : row.after)
            commands.dispatch(line);
        EXPECT_TRUE(shown("panel_domino"));
        for (int n = 1; n <= 4; ++n) {
            EXPECT_EQ(board.foundation(n)->picture(), row.foundations[std::size_t(n - 1)]) << "suit " << n;
            EXPECT_EQ(board.cardCountLabel(n)->text(), QString::fromLatin1(row.counts[std::size_t(n - 1)]))
                << "seat " << n;
            EXPECT_EQ(board.dominoRank(n)->text(), QStringLiteral("9"));
            EXPECT_EQ(board.playedCard(n)->picture(), 0);
        }
        EXPECT_FALSE(shown("image_lead"));
    }
}

TEST_F(GameDisplayCatchUpTest, CatchUpOnTheOwnTurnSaysSoWithoutTheTurnSound)
{
    game.agame("1+2+s+4+1+1+0+0+0+0+0+0+");
    // The host waits for this table's card: the table says so and may play it; no new turn is announced.
    EXPECT_EQ(display.model().turn(), 1);
    EXPECT_TRUE(shown("image_Turn"));
    EXPECT_EQ(textOf("label_status"), QStringLiteral("Your Turn."));
    EXPECT_TRUE(heard.sounds.filter(QStringLiteral("turn")).isEmpty());
    EXPECT_TRUE(board.chooser()->isMarked(4));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(board.dominoRank(n)->text(), QStringLiteral("?"));

    // A snapshot meant for another slot is ignored.
    game.agame("2+3+l+1+3+2+0+0+0+0+0+0+");
    EXPECT_EQ(textOf("label_gametype"), QStringLiteral("SHORT GAME"));
}

// A table that arrives while a contract is chosen shows the seat that chooses, not the last director.
TEST_F(GameDisplayCatchUpTest, CatchUpDuringAChoiceShowsTheChooser)
{
    struct Row {
        const char* agame;
        int myseat;
        int crownSeat; ///< where the director's crown stands: the seat that chooses
        const char* status;
        const char* fee;
        bool chooserShown;
    };
    for (const Row& row :
         {Row{"2+3+h+2+1+5+0+0+0+0+0+0+", 2, 3, "Klock is choosing a CONTRACT.", "All fees payable to Klock", false},
          Row{"3+3+h+2+1+5+0+0+0+0+0+0+", 3, 3, "Choose a CONTRACT.", "Get Ready to Cash In!", true},
          Row{"2+1+s+4+0+0+0+0+0+0+0+0+", 2, 1, "You is choosing a CONTRACT.", "All fees payable to You", false}}) {
        SCOPED_TRACE(row.agame);
        Board fresh;
        TableState seated;
        seated.myseat = row.myseat;
        fresh.setSeatName(1, QStringLiteral("You"));
        BoardDisplay shows{fresh, seated, events};
        GameDisplay catchUp{shows, chat, events};
        catchUp.agame(row.agame);
        Board reference;
        reference.placeDirector(row.crownSeat);
        EXPECT_EQ(fresh.directorMarker()->pos(), reference.directorMarker()->pos());
        EXPECT_EQ(fresh.statusLabel()->text(), QString::fromUtf8(row.status));
        EXPECT_EQ(fresh.feeLabel()->text(), QString::fromUtf8(row.fee));
        EXPECT_EQ(fresh.chooser()->isVisibleTo(&fresh), row.chooserShown);
        EXPECT_EQ(shows.model().chooser(), row.crownSeat);
    }
}

struct WinnerRow {
    int myseat;
    const char* myname;
    const char* line;
    const char* shown;
    QStringList tally;
};

// Short row names for the test list, instead of the row's bytes.
inline void PrintTo(const WinnerRow& row, std::ostream* os)
{
    *os << row.line;
}

class WinnerTest : public GameDisplayCatchUpTest, public ::testing::WithParamInterface<WinnerRow> {};

TEST_P(WinnerTest, ShowsRecordsAndReopensTheHostsStart)
{
    const WinnerRow& row = GetParam();
    state.myseat = row.myseat;
    state.myname = QString::fromLatin1(row.myname);
    if (row.myseat <= 4)
        board.setSeatName(row.myseat, state.myname);
    round.startthegame("You+s+");
    EXPECT_FALSE(shown("button_start"));

    game.winner(row.line);
    EXPECT_EQ(board.winnerText(), QString::fromLatin1(row.shown));
    EXPECT_EQ(board.findChild<QLabel*>(QStringLiteral("label_winnershadow"))->text(), QString::fromLatin1(row.shown));
    EXPECT_EQ(chat.texts().constLast(), QStringLiteral("0+") + QString::fromLatin1(row.shown));
    EXPECT_TRUE(shown("panel_winner"));
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("winner"));
    EXPECT_EQ(heard.games, row.tally);
    EXPECT_EQ(shown("button_start"), row.myseat == 1); // only the host player's table starts games
}

INSTANTIATE_TEST_SUITE_P(Texts, WinnerTest,
                         ::testing::Values(WinnerRow{1, "You", "You+", "You have Won the Game!", {"addtomine"}},
                                           WinnerRow{1, "You", "Klot+", "Klot has Won the Game!", {"Klot"}},
                                           WinnerRow{1, "You", "You and Klot+", "You and Klot has Won the Game!", {}},
                                           WinnerRow{
                                               3, "Cleo", "Klot and Kling+", "Klot and Kling has Won the Game!", {}},
                                           WinnerRow{6, "Spy", "Klot+", "Klot has Won the Game!", {}},
                                           WinnerRow{7, "You", "You+", "You has Won the Game!", {}}));

// The start button follows slot 1, not the program that runs the host: on a dedicated host the table in
// slot 1 starts the games.
TEST_F(GameDisplayCatchUpTest, TheStartButtonComesBackForSlotOneOnly)
{
    struct Row {
        bool ishost;
        int myseat;
        bool shown;
    };
    for (const Row& row : {Row{false, 2, false}, Row{false, 1, true}, Row{true, 1, true}, Row{false, 6, false}}) {
        state.ishost = row.ishost;
        state.myseat = row.myseat;
        round.startthegame("You+s+");
        EXPECT_TRUE(display.model().gamerunning());
        game.winner("Klot+");
        EXPECT_FALSE(display.model().gamerunning());
        EXPECT_EQ(shown("button_start"), row.shown) << row.ishost << " " << row.myseat;
        EXPECT_TRUE(shown("panel_winner"));
    }
}

TEST_F(GameDisplayCatchUpTest, ACatchUpMeansAGameIsRunningSoTheStartButtonHides)
{
    board.startButton()->show();
    game.agame("2+3+l+1+3+2+0+0+0+0+0+0+");
    EXPECT_FALSE(display.model().gamerunning()) << "a catch-up for another slot is not ours";
    EXPECT_TRUE(shown("button_start"));
    game.agame("1+3+l+1+3+2+0+0+0+0+0+0+");
    EXPECT_TRUE(display.model().gamerunning());
    EXPECT_FALSE(shown("button_start"));
}

} // namespace
