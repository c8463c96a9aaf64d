#include "tablemodel.h"

#include "fieldreader.h"
#include "playrule.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

void feed(TableModel& model, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        model.apply(line);
}

/// Seat 2 logged in, a short game and the deal of round 1: slots 1..8 hold 2 5 9 12 18 22 27 31.
const std::vector<std::string> kOpening = {
    "CMD_sendlogininfo+2",  "CMD_newplayerinfo+1+Ann", "CMD_newplayerinfo+2+Bob",
    "CMD_startgame+Ann+s+", "CMD_startround+1+1+",     "CMD_mycards+2+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31",
};

// What the host said, line by line, and what the model holds afterwards.
TEST(TableModel, HoldsWhatTheHostSaid)
{
    struct Row {
        const char* name;
        std::vector<std::string> lines; ///< after kOpening
        std::function<void(const TableModel&)> check;
    };
    const std::vector<Row> rows = {
        {"the opening: seat, names, game length, chooser and hand",
         {},
         [](const TableModel& m) {
             EXPECT_EQ(m.myslot(), 2);
             EXPECT_EQ(m.seatName(1), QStringLiteral("Ann"));
             EXPECT_EQ(m.seatName(3), QStringLiteral("Klock"));
             EXPECT_EQ(m.contracttotal(), 8);
             EXPECT_EQ(m.chooser(), 1);
             EXPECT_EQ(m.director(), 1);
             EXPECT_EQ(m.contract(), 0);
             EXPECT_EQ(m.cardsHeld(), 8);
             EXPECT_TRUE(m.contractUsed(1));
             EXPECT_TRUE(m.contractOutOfGame(4));
             EXPECT_FALSE(m.contractUsed(5));
         }},
        {"the game log: the round, the contract, the trick, the money card, in the table's words",
         {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+1+", "CMD_placecard+1+14+3+t+",
          "CMD_placecard+2+12+4+f+", "CMD_placecard+3+10+1+f+", "CMD_placecard+4+16+8+f+", "CMD_endhand+2+",
          "CMD_took+2+1+f+f+", "CMD_endhand+3+"},
         [](const TableModel& m) {
             EXPECT_EQ(m.log(), (QStringList{QString(), QStringLiteral("CONTRACT 1 is starting."),
                                             QStringLiteral("Ann is the director"), QStringLiteral("GUILLOTINE"),
                                             QStringLiteral("You have taken the trick."),
                                             QStringLiteral("Bob -800 for the King of Hearts."),
                                             QStringLiteral("Klock has taken the trick.")}));
             EXPECT_EQ(m.logTotal(), 7);
         }},
        {"a long log keeps its newest lines and counts every one",
         std::vector<std::string>(std::size_t(TableModel::kLogLines), "CMD_took+4+3+f+f+"),
         [](const TableModel& m) {
             EXPECT_EQ(m.log().size(), TableModel::kLogLines);
             EXPECT_EQ(m.log().constFirst(), QStringLiteral("Kling -100 for a Spade."));
             EXPECT_EQ(m.logTotal(), TableModel::kLogLines + 3);
         }},
        {"a trick: leader, led suit, own card out of the hand, taker and banks",
         {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+1+", "CMD_placecard+1+14+3+t+",
          "CMD_nextplayer+2+", "CMD_placecard+2+12+4+f+", "CMD_placecard+3+10+1+f+", "CMD_placecard+4+16+8+f+",
          "CMD_endhand+4+", "CMD_scores+1+10000+0+2+10000+0+3+10000+0+4+10000+0"},
         [](const TableModel& m) {
             EXPECT_EQ(m.contract(), 5);
             EXPECT_EQ(m.chooser(), 0);
             EXPECT_EQ(m.leader(), 1);
             EXPECT_EQ(m.playPosition().ledsuit, morlu::Clubs);
             EXPECT_EQ(m.hand()[4], 0);
             EXPECT_EQ(m.cardsHeld(), 7);
             EXPECT_EQ(m.taker(), 4);
             EXPECT_EQ(m.seat(4).tricks, 1);
             EXPECT_FALSE(m.ownTurn());
         }},
        {"the next trick opens: trick count up, the table cleared",
         {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_placecard+1+14+3+t+", "CMD_endhand+1+", "CMD_starthand+"},
         [](const TableModel& m) {
             EXPECT_EQ(m.tricknumber(), 2);
             EXPECT_EQ(m.leader(), 0);
             EXPECT_EQ(m.trick()[1], 0);
         }},
        {"money: bank, last change, change over the game",
         {"CMD_scores+1+10800+800+2+9200+-800+3+10000+0+4+10000+0"},
         [](const TableModel& m) {
             EXPECT_EQ(m.seat(2).bank, 9200);
             EXPECT_EQ(m.seat(2).change, -800);
             EXPECT_EQ(m.seat(1).gameChange, 800);
         }},
        {"DOMINO: the layout, the start rank, cards left and a seat passed over",
         {"CMD_choosehand+1+6+0+", "CMD_starthand+", "CMD_nextplayer+1+", "CMD_dplacecard+1+1+3+1+3+7+",
          "CMD_nextplayer+4+"},
         [](const TableModel& m) {
             EXPECT_EQ(m.dominoStart(), 3);
             EXPECT_EQ(m.foundationTop(morlu::Diamonds), 3);
             EXPECT_TRUE(m.layout().laid[morlu::Diamonds][3]);
             EXPECT_EQ(m.seat(1).cardsLeft, 7);
             EXPECT_EQ(m.passed(), (QList<int>{2, 3}));
         }},
        {"a used contract asked again is marked for the own seat",
         {"CMD_startround+2+2+", "CMD_alreadychoose+2+5+"},
         [](const TableModel& m) {
             EXPECT_EQ(m.chooser(), 2);
             EXPECT_TRUE(m.contractUsed(5));
         }},
        {"a human leaves: the computer's name as the host announces it",
         {"CMD_playerdisconnected+2+Bob"},
         [](const TableModel& m) { EXPECT_EQ(m.seatName(2), QStringLiteral("Klot")); }},
        {"the winner: game over, rounds won counted, nobody on turn",
         {"CMD_scores+1+10800+800+2+9200+-800+3+10000+0+4+10000+0", "CMD_winner+Ann+"},
         [](const TableModel& m) {
             EXPECT_FALSE(m.gamerunning());
             EXPECT_EQ(m.winner(), QStringLiteral("Ann"));
             EXPECT_EQ(m.seat(1).roundsWon, 1);
             EXPECT_EQ(m.seat(2).roundsWon, 0);
         }},
        {"a field that is not a number changes nothing",
         {"CMD_choosehand+x+5+0+"},
         [](const TableModel& m) { EXPECT_EQ(m.contract(), 0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TableModel model;
        feed(model, kOpening);
        for (const std::string& line : row.lines) {
            try {
                model.apply(line);
            } catch (const morlu::FieldError&) {
            }
        }
        row.check(model);
    }
}

// A table that logs in while a game runs learns the game from the catch-up.
TEST(TableModel, CatchesUpWithAGameInProgress)
{
    struct Row {
        const char* name;
        std::string agame;
        int director, chooser, contract, turn;
    };
    const std::vector<Row> rows = {
        {"a trick being played", "CMD_agame+2+3+h+3+4+2+0+3+0+0+9+12+", 3, 0, 2, 4},
        {"the choice of round 3 pending: the last round's director is named", "CMD_agame+2+3+h+2+1+5+0+0+0+0+0+0+", 3,
         3, 0, 0},
        {"the choice of round 1 pending", "CMD_agame+2+1+h+4+0+0+0+0+0+0+0+0+", 1, 1, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TableModel model;
        feed(model, {"CMD_sendlogininfo+2", row.agame});
        EXPECT_TRUE(model.gamerunning());
        EXPECT_EQ(model.director(), row.director);
        EXPECT_EQ(model.chooser(), row.chooser);
        EXPECT_EQ(model.contract(), row.contract);
        EXPECT_EQ(model.turn(), row.turn);
    }
}

// The catch-up names the round's contract in the game log once: for a table new to the game, for one
// back in the round it left (whose log named it already), and for one back in a later round.
TEST(TableModel, TheCatchUpNamesTheContractOnce)
{
    struct Row {
        const char* name;
        std::vector<std::string> before; ///< what the table heard before its connection was lost
        std::vector<std::string> after;  ///< its login and catch-up, and what followed
        int named;                       ///< how often the log names GUILLOTINE
    };
    const std::vector<Row> rows = {
        {"new to the game", {}, {"CMD_sendlogininfo+2", "CMD_agame+2+1+s+1+2+5+0+0+0+0+0+0+"}, 1},
        {"back in the round it left",
         {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+2+"},
         {"CMD_sendlogininfo+2", "CMD_agame+2+1+s+1+2+5+0+0+0+0+0+0+"},
         1},
        {"back while the contract was still being chosen",
         {},
         {"CMD_sendlogininfo+2", "CMD_agame+2+1+s+4+0+0+0+0+0+0+0+0+", "CMD_choosehand+1+5+0+"},
         1},
        {"back in a later round",
         {"CMD_choosehand+1+6+0+"},
         {"CMD_sendlogininfo+2", "CMD_agame+2+2+s+2+3+5+0+0+0+0+0+0+"},
         1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TableModel model;
        feed(model, kOpening);
        feed(model, row.before);
        feed(model, row.after);
        EXPECT_EQ(model.log().count(QStringLiteral("GUILLOTINE")), row.named)
            << model.log().join(QLatin1Char('|')).toStdString();
    }
}

// The catch-up of a DOMINO round names no card counts (start rank 9; the cards laid last are named by
// seat): the model guesses 8 less the card a seat is named to have laid, holds the own hand's count once
// the hand is named, and keeps the lower counts a table knew when it is back in the round it left.
TEST(TableModel, GuessesTheDominoCardCountsAtACatchUp)
{
    struct Row {
        const char* name;
        std::vector<std::string> before; ///< after kOpening, before the connection was lost
        std::vector<std::string> after;  ///< the login and the catch-up
        std::array<int, 5> held;         ///< seats 1..4
    };
    const std::vector<Row> rows = {
        {"a spectator: seat 3 has laid no card",
         {},
         {"CMD_sendlogininfo+5", "CMD_agame+5+2+l+3+1+6+3+0+27+4+0+11+"},
         {0, 7, 7, 8, 7}},
        {"a seat: its own hand says its count",
         {},
         {"CMD_sendlogininfo+2", "CMD_agame+2+2+l+3+1+6+3+0+27+4+7+11+", "CMD_mycards+2+1+2+3+9+5+18+7+30+8+31"},
         {0, 7, 5, 7, 7}},
        {"back in the round it left: what it knew still bounds the counts",
         {"CMD_choosehand+1+6+0+", "CMD_dplacecard+1+4+27+1+3+7+", "CMD_dplacecard+3+2+11+1+3+6+"},
         {"CMD_sendlogininfo+2", "CMD_agame+2+1+s+1+4+6+3+0+27+0+11+0+"},
         {0, 7, 8, 6, 8}},
        {"back in a later round: the last round's counts are gone",
         {"CMD_choosehand+1+6+0+", "CMD_dplacecard+3+2+11+1+3+2+"},
         {"CMD_sendlogininfo+2", "CMD_agame+2+2+s+2+4+6+3+0+27+0+11+0+"},
         {0, 7, 8, 7, 8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TableModel model;
        feed(model, kOpening);
        feed(model, row.before);
        feed(model, row.after);
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(model.seat(n).cardsLeft, row.held[std::size_t(n)]) << "seat " << n;
    }
}

// A DOMINO round caught up with (start rank 9; the seats laid 9S, JD, 10D and 9C last; the layout is
// 9-10-J of Diamonds, 9-10 of Clubs and 9 of Spades): the host's layout word replaces the guess and
// the card counts, unless it cannot stand, and then it changes nothing at all.
TEST(TableModel, TakesTheDominoLayoutOnlyWhenItCanStand)
{
    const std::string catchUp = "CMD_agame+2+2+l+3+1+6+3+0+27+4+7+11+";
    struct Row {
        const char* name;
        std::string line;
        std::array<int, 5> tops; ///< suits 1..4
        std::array<int, 5> held; ///< seats 1..4
    };
    const std::array<int, 5> guessedTops{0, 4, 11, 0, 27};
    const std::array<int, 5> noCounts{0, 7, 7, 7, 7}; // guessed: every seat has laid a card
    const std::vector<Row> rows = {
        {"the catch-up alone guesses the highest card of each suit", "", guessedTops, noCounts},
        {"the layout", "CMD_dlayout+3+4+15+0+27+7+6+6+7+", {0, 4, 15, 0, 27}, {0, 7, 6, 6, 7}},
        {"a card of another suit", "CMD_dlayout+3+15+4+0+27+7+6+6+7+", guessedTops, noCounts},
        {"no card at all", "CMD_dlayout+3+4+15+40+27+7+6+6+7+", guessedTops, noCounts},
        {"a start rank outside 1..8", "CMD_dlayout+9+4+15+0+27+7+6+6+7+", guessedTops, noCounts},
        {"cards laid before the first card", "CMD_dlayout+0+4+15+0+27+7+6+6+7+", guessedTops, noCounts},
        {"a start and nothing laid", "CMD_dlayout+3+0+0+0+0+8+8+8+8+", guessedTops, noCounts},
        {"nine cards held", "CMD_dlayout+3+4+15+0+27+9+6+4+7+", guessedTops, noCounts},
        {"fewer cards held than are left", "CMD_dlayout+3+4+15+0+27+7+6+6+6+", guessedTops, noCounts},
        {"a count that is no number", "CMD_dlayout+3+4+15+0+27+7+6+x+7+", guessedTops, noCounts},
        {"a field missing", "CMD_dlayout+3+4+15+0+27+7+6+6+", guessedTops, noCounts},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TableModel model;
        feed(model, {"CMD_sendlogininfo+2", catchUp});
        if (!row.line.empty()) {
            try {
                model.apply(row.line);
            } catch (const morlu::FieldError&) {
            }
        }
        const morlu::DominoFoundations expected =
            morlu::DominoFoundations::fromTops(3, {row.tops[1], row.tops[2], row.tops[3], row.tops[4]});
        EXPECT_EQ(model.dominoStart(), 3);
        for (int n = 1; n <= 4; ++n) {
            EXPECT_EQ(model.foundationTop(n), row.tops[std::size_t(n)]) << "suit " << n;
            EXPECT_EQ(model.layout().laid[std::size_t(n)], expected.laid[std::size_t(n)]) << "suit " << n;
            EXPECT_EQ(model.seat(n).cardsLeft, row.held[std::size_t(n)]) << "seat " << n;
        }
    }
}

} // namespace
