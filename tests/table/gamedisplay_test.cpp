#include "gamedisplay.h"

#include "artpicture.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fieldreader.h"
#include "printers.h"
#include "tablefixture.h"
#include "titledpanel.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using morlu::test::TableFixture;

class GameDisplayTest : public TableFixture {};

TEST_F(GameDisplayTest, StartHandEmptiesTheTrick)
{
    openRound(2);
    game.placecard("2+12+4+t+");
    game.endhand("2+");
    game.starthand("");
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(board.playedCard(seat)->picture(), 0);
    EXPECT_FALSE(shown("image_lead"));
    EXPECT_FALSE(shown("image_Taker"));
}

TEST_F(GameDisplayTest, PlacedCardGoesToTheSeatAndLeavesOnlyItsHandPlace)
{
    openRound(2);
    game.placecard("3+14+2+t+");
    EXPECT_EQ(board.playedCard(3)->picture(), 14);
    EXPECT_TRUE(shown("image_lead"));
    EXPECT_EQ(board.leadMarker()->pos(), QPoint(479 - 4, 67));
    EXPECT_FALSE(board.handPlace(2)->isHidden()); // another seat's slot is not ours
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("placecard"));

    game.placecard("1+18+5+f+");
    EXPECT_EQ(board.playedCard(1)->picture(), 18);
    EXPECT_EQ(board.leadMarker()->pos(), QPoint(479 - 4, 67)); // not a lead: the marker stays
    CardPlace* played = board.handPlace(5);
    EXPECT_TRUE(played->isHidden());
    EXPECT_EQ(played->slot(), 0);
    EXPECT_EQ(played->picture(), 0);
    for (int k = 6; k <= 8; ++k) {
        EXPECT_FALSE(board.handPlace(k)->isHidden()) << k;
        EXPECT_EQ(board.handPlace(k)->pos(), QPoint(264 + 56 * (k - 1), 160));
        EXPECT_EQ(board.handPlace(k)->slot(), k);
    }
    // A hand slot that does not exist: no host sends it, and the line draws nothing.
    game.placecard("1+31+9+f+");
    EXPECT_EQ(board.playedCard(1)->picture(), 18);
}

TEST_F(GameDisplayTest, DominoCardGoesToTheFoundationOfItsSuit)
{
    openRound(2);
    round.choosehand("2+6+0+");
    game.dplacecard("4+2+13+6+5+5+");
    EXPECT_EQ(board.foundation(2)->picture(), 13);
    EXPECT_EQ(board.foundation(4)->picture(), 0);
    EXPECT_EQ(textOf("label_totalcards4"), QStringLiteral("CARDS: 5"));
    EXPECT_EQ(textOf("label_totalcards1"), QStringLiteral("CARDS: 8"));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(board.dominoRank(n)->text(), QStringLiteral("J"));
    EXPECT_FALSE(board.handPlace(6)->isHidden());

    game.dplacecard("1+2+14+3+5+7+");
    EXPECT_EQ(board.foundation(2)->picture(), 14);
    EXPECT_TRUE(board.handPlace(3)->isHidden());
    EXPECT_EQ(heard.sounds.filter(QStringLiteral("placecard")).size(), 2);

    // (A start rank outside 1..8 is no host's: such a line draws nothing.)
    const char* names[] = {"", "7", "8", "9", "10", "J", "Q", "K", "A"};
    for (int rank = 1; rank <= 8; ++rank) {
        game.dplacecard("2+1+1+1+" + std::to_string(rank) + "+6+");
        EXPECT_EQ(board.dominoRank(3)->text(), QString::fromLatin1(names[rank])) << rank;
    }
}

// DOMINO: the host passes over a seat that holds cards but can lay none; the log names it.
TEST_F(GameDisplayTest, DominoSeatsPassedOverAreLogged)
{
    struct Row {
        const char* name;
        std::vector<std::string> lines;
        QStringList passes;
    };
    const std::vector<Row> rows = {
        {"seats 3 and 4 pass",
         {"CMD_nextplayer+2+", "CMD_dplacecard+2+2+13+6+5+7+", "CMD_nextplayer+1+"},
         {QStringLiteral("Klock passes."), QStringLiteral("Kling passes.")}},
        {"the next seat can lay", {"CMD_nextplayer+2+", "CMD_dplacecard+2+2+13+6+5+7+", "CMD_nextplayer+3+"}, {}},
        {"before the first card nobody passes", {"CMD_nextplayer+2+", "CMD_nextplayer+4+"}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        openRound(2);
        commands.dispatch("CMD_choosehand+2+6+0+");
        const qsizetype before = logLines().size();
        for (const std::string& line : row.lines)
            commands.dispatch(line);
        EXPECT_EQ(logLines().mid(before).filter(QStringLiteral(" passes.")), row.passes);
    }
}

TEST_F(GameDisplayTest, TakenTrickIsLoggedAndMarked)
{
    openRound(2);
    round.getnextplayer("4+");
    game.endhand("1+");
    EXPECT_EQ(lastLog(), QStringLiteral("You have taken the trick."));
    game.endhand("3+");
    EXPECT_EQ(lastLog(), QStringLiteral("Klock has taken the trick."));
    EXPECT_EQ(textOf("label_status"), QStringLiteral("One Moment Please.."));
    EXPECT_TRUE(shown("image_Taker"));
    EXPECT_EQ(board.takerMarker()->pos(), QPoint(479 - 4, 67));
    EXPECT_FALSE(shown("image_Turn"));
}

TEST_F(GameDisplayTest, TookLinesByKindAndFlags)
{
    openRound(2);
    struct Row {
        const char* rest;
        QStringList lines;
    };
    const Row rows[] = {
        {"2+1+t+f+", {"Klot took the King of Hearts."}},
        {"3+1+f+f+", {"Klock -800 for the King of Hearts."}},
        {"3+1+f+t+", {"Klock -800 for the King of Hearts.", "No More Money Cards-Round Over."}},
        {"1+2+t+f+", {"You took a Queen."}},
        {"4+2+f+f+", {"Kling -200 for a Queen."}},
        {"4+3+t+f+", {"Kling took a Spade."}},
        {"4+3+f+f+", {"Kling -100 for a Spade."}},
        {"1+4+t+f+", {"You took the First Trick."}},
        {"1+4+f+f+", {"You -400 for First Trick."}},
        {"2+5+t+t+", {"Klot took the Last Trick.", "No More Money Cards-Round Over."}},
        {"2+5+f+f+", {"Klot -400 for Last Trick."}},
        {"2+8+f+f+", {}}, // no such kind: no host's line, nothing logged
    };
    for (const Row& row : rows) {
        const qsizetype before = logLines().size();
        game.took(row.rest);
        EXPECT_EQ(logLines().mid(before), row.lines) << row.rest;
    }
}

TEST_F(GameDisplayTest, ScoresShowBanksAndChangesWithSoundsForTheOwnSeatOnly)
{
    openRound(2);
    heard.sounds.clear();
    game.scores("1+9200+-800+2+10800+800+3+10000+0+4+-400+0");
    EXPECT_EQ(textOf("label_score1"), QStringLiteral("$9200"));
    EXPECT_EQ(textOf("label_score2"), QStringLiteral("$10800"));
    EXPECT_EQ(textOf("label_score4"), QStringLiteral("$-400"));
    EXPECT_EQ(textOf("label_bonus1"), QStringLiteral("-800"));
    EXPECT_EQ(textOf("label_bonus2"), QStringLiteral("+800"));
    EXPECT_EQ(textOf("label_bonus3"), QString());
    EXPECT_EQ(heard.sounds, QStringList{QStringLiteral("lostmoney")});
    // The whole change shows, however wide.
    EXPECT_FALSE(board.bonusLabel(2)->isElided());

    game.scores("1+10000+800+2+10000+-800+3+10000+0+4+10000+0");
    EXPECT_EQ(heard.sounds, (QStringList{QStringLiteral("lostmoney"), QStringLiteral("gotmoney")}));
    game.scores("1+10000+0+2+10000+0+3+10000+0+4+10000+0");
    EXPECT_EQ(heard.sounds.size(), 2);
    EXPECT_EQ(textOf("label_bonus1"), QString());

    // A spectator hears nothing.
    state.myseat = 6;
    game.scores("1+10000+800+2+10000+-800+3+10000+0+4+10000+0");
    EXPECT_EQ(heard.sounds.size(), 2);
}

TEST_F(GameDisplayTest, DominoHandEndLinesForDirectorAndOthers)
{
    struct Row {
        int director;
        const char* rest;
        const char* line;
    };
    const Row rows[] = {
        {1, "1+", "You have cards left."},
        {2, "1+", "You have cards left. - 800"},
        {3, "3+", "Klock has cards left."},
        {1, "4+", "Kling has cards left. - 800"},
    };
    for (const Row& row : rows) {
        openRound(row.director);
        game.dendhand(row.rest);
        EXPECT_EQ(lastLog(), QString::fromLatin1(row.line)) << row.director << row.rest;
        EXPECT_EQ(textOf("label_status"), QStringLiteral("One Moment Please.."));
    }
}

TEST_F(GameDisplayTest, RefusedPlayFillsTheErrorPanel)
{
    openRound(2);
    board.addErrorLine(QStringLiteral("old"));
    game.aerror("1+4+");
    EXPECT_EQ(errorLines(), (QStringList{QStringLiteral("You must follow suit."), QString(),
                                         QStringLiteral("Please select a different card.")}));
    EXPECT_TRUE(shown("panel_error"));
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("error"));

    game.aerror("1+9+");
    EXPECT_EQ(errorLines(), (QStringList{QString(), QStringLiteral("Please select a different card.")}));

    const char* reasons[] = {"You cannot lead a HEART when doing a Morlu.",
                             "You cannot lead a SPADE when doing a Seige.",
                             "You cannot lead a HEART or a SPADE when doing a Guillotine.", "You must follow suit.",
                             "That card cannot be played."};
    for (int code = 1; code <= 5; ++code) {
        game.aerror("1+" + std::to_string(code) + "+");
        EXPECT_EQ(errorLines().constFirst(), QString::fromLatin1(reasons[code - 1]));
    }

    board.errorPanel()->hide();
    const qsizetype sounds = heard.sounds.size();
    game.aerror("2+4+");
    EXPECT_FALSE(shown("panel_error"));
    EXPECT_EQ(heard.sounds.size(), sounds);
}

TEST_F(GameDisplayTest, CatchUpDrawsTheRunningTrick)
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
// each is drawn on its own suit's foundation, the highest of a suit on top. The layout a host sends
// after it (Clubs up to the 10) replaces that guess and the card counts, and the next card goes on
// from there; a layout that cannot stand leaves the board as it was.
TEST_F(GameDisplayTest, CatchUpOfADominoRoundShowsTheLayoutTheHostSends)
{
    const std::string catchUp = "1+2+l+3+1+6+3+0+27+4+7+11+";
    struct Row {
        const char* name;
        std::vector<std::string> after; ///< lines after the catch-up
        std::array<int, 4> foundations;
        std::array<const char*, 4> counts;
    };
    const std::vector<Row> rows = {
        {"the catch-up alone", {}, {4, 11, 0, 27}, {"CARDS: 8", "CARDS: 8", "CARDS: 8", "CARDS: 8"}},
        {"and the layout",
         {"CMD_dlayout+3+4+15+0+27+7+6+6+7+"},
         {4, 15, 0, 27},
         {"CARDS: 7", "CARDS: 6", "CARDS: 6", "CARDS: 7"}},
        {"and the next card",
         {"CMD_dlayout+3+4+15+0+27+7+6+6+7+", "CMD_dplacecard+1+2+12+5+3+6+"},
         {4, 12, 0, 27},
         {"CARDS: 6", "CARDS: 6", "CARDS: 6", "CARDS: 7"}},
        {"and a layout with a card of another suit",
         {"CMD_dlayout+3+15+4+0+27+7+6+6+7+"},
         {4, 11, 0, 27},
         {"CARDS: 8", "CARDS: 8", "CARDS: 8", "CARDS: 8"}},
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

TEST_F(GameDisplayTest, CatchUpOnTheOwnTurnSaysSoWithoutTheTurnSound)
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
TEST_F(GameDisplayTest, CatchUpDuringAChoiceShowsTheChooser)
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

class WinnerTest : public GameDisplayTest, public ::testing::WithParamInterface<WinnerRow> {};

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
TEST_F(GameDisplayTest, TheStartButtonComesBackForSlotOneOnly)
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

TEST_F(GameDisplayTest, ACatchUpMeansAGameIsRunningSoTheStartButtonHides)
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

namespace {

struct Malformed {
    const char* name;
    const char* line;
};

// Short row names for the test list, instead of the row's bytes.
inline void PrintTo(const Malformed& row, std::ostream* os)
{
    *os << row.line;
}

class MalformedLineTest : public TableFixture, public ::testing::WithParamInterface<Malformed> {};

// A numeric field that is not a whole number ends the handler before it changes anything, even when
// the bad field comes last.
TEST_P(MalformedLineTest, ThrowsAndChangesNothing)
{
    const Malformed& row = GetParam();
    openRound(1, "h");
    round.choosehand("1+2+0+");
    round.getnextplayer("3+");
    game.placecard("3+20+2+t+");
    game.scores("1+10000+200+2+9800+-200+3+10000+0+4+10000+0");
    const QStringList before = snapshot();
    EXPECT_THROW(commands.dispatch(row.line), morlu::FieldError) << row.line;
    EXPECT_EQ(snapshot(), before) << row.line;
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, MalformedLineTest,
    ::testing::Values(
        Malformed{"startround", "CMD_startround+2+x+"}, Malformed{"mycards", "CMD_mycards+1+1+5+2+q"},
        Malformed{"mycards_half_pair", "CMD_mycards+1+1+5+2"}, Malformed{"choosehand", "CMD_choosehand+1+k+0+"},
        Malformed{"alreadychoose", "CMD_alreadychoose+1+2x+"}, Malformed{"nextplayer", "CMD_nextplayer+one+"},
        Malformed{"handsused", "CMD_handsused+1+3+x"}, Malformed{"justwatching", "CMD_justwatching++1"},
        Malformed{"placecard", "CMD_placecard+1+9+z+t+"}, Malformed{"dplacecard", "CMD_dplacecard+1+2+13+6+5+five+"},
        Malformed{"endhand", "CMD_endhand++"}, Malformed{"took", "CMD_took+2+king+f+f+"},
        Malformed{"scores", "CMD_scores+1+9000+-1000+2+10000+0+3+10000+0+4+10000+"},
        Malformed{"dendhand", "CMD_dendhand+0x2+"}, Malformed{"aerror", "CMD_aerror+1+ 4+"},
        Malformed{"agame", "CMD_agame+1+2+h+3+4+1+0+0+0+0+0+x+"}),
    [](const ::testing::TestParamInfo<Malformed>& info) { return std::string(info.param.name); });

// Texts and markers that describe a moment go with it: the pause text once the game is won, the DOMINO
// rank order once a new contract is being chosen, the turn marker once a DOMINO round is over (also for a
// table that caught up with it).
TEST_F(GameDisplayTest, NothingStaleStaysWhenItsMomentHasPassed)
{
    struct Row {
        const char* name;
        std::vector<std::string> lines;
        std::function<bool()> stale;
    };
    const std::vector<Row> rows = {
        {"the winner after the last trick",
         {"CMD_endhand+2+", "CMD_winner+Klot+"},
         [this] { return board.statusLabel()->text() == QStringLiteral("One Moment Please.."); }},
        {"the next round after a DOMINO round",
         {"CMD_choosehand+2+6+0+", "CMD_dendhand+3+", "CMD_startround+3+2+"},
         [this] { return board.rankLabel()->text().startsWith(QStringLiteral("AMERICAN")); }},
        {"the end of a DOMINO round",
         {"CMD_choosehand+2+6+0+", "CMD_nextplayer+3+", "CMD_dplacecard+3+1+1+1+1+0+", "CMD_dendhand+4+"},
         [this] { return board.turnMarker()->isVisibleTo(&board); }},
        {"the turn of the last seat that laid, once the host says the DOMINO hand caught up with is over",
         {"CMD_agame+1+2+l+2+3+6+3+0+11+19+27+3+", "CMD_handover+"},
         [this] {
             return board.turnMarker()->isVisibleTo(&board) ||
                    board.statusLabel()->text() != QStringLiteral("One Moment Please..") || display.model().onTurn() != 0;
         }},
    };
    for (const Row& row : rows) {
        openRound(2);
        for (const std::string& line : row.lines)
            commands.dispatch(line);
        EXPECT_FALSE(row.stale()) << row.name;
    }
}

} // namespace
