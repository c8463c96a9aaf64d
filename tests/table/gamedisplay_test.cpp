#include "gamedisplay.h"

#include "artpicture.h"
#include "cardplace.h"
#include "fieldreader.h"
#include "printers.h"
#include "tablefixture.h"
#include "titledpanel.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// The game display while a round is played: cards on the trick and on the DOMINO foundations, taken
// tricks and money, refused cards, malformed lines, and what goes once its moment has passed. The
// catch-up and the end of a game are in gamedisplaycatchup_test.cpp.

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