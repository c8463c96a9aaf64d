#include "boarddisplay.h"

#include "artpicture.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "printers.h"
#include "tablefixture.h"

#include <QColor>

#include <gtest/gtest.h>

namespace {

using morlu::test::TableFixture;

class BoardDisplayTest : public TableFixture {};

TEST_F(BoardDisplayTest, GameLengthSetsMarksLabelTotalAndCounter)
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
        // Only the first letter counts, as on the host, which plays a short game for this field.
        {"short", {1, 2, 3, 4}, "SHORT GAME", 8, "CONTRACT: 0/8"},
        {"", {}, "LONG GAME", 24, "CONTRACT: 0/24"},
    };
    for (const Row& row : rows) {
        display.clearall();
        display.setgametype(QString::fromLatin1(row.letter));
        EXPECT_EQ(marks(), row.marks) << row.letter;
        EXPECT_EQ(textOf("label_gametype"), QString::fromLatin1(row.label));
        EXPECT_EQ(textOf("label_round"), QString::fromLatin1(row.counter));
    }
    // Showing the length never hides a mark.
    board.chooser()->setMarked(6, true);
    display.setgametype(QStringLiteral("h"));
    EXPECT_EQ(marks(), (std::vector<int>{1, 2, 6}));
}

TEST_F(BoardDisplayTest, ClearAllResetsTheSeatsMarksAndMarkers)
{
    openRound(2, "s");
    round.choosehand("2+6+0+");
    board.scoreLabel(3)->setText(QStringLiteral("$9200"));
    board.setBonusText(3, QStringLiteral("-800"));
    board.setEyesShown(2, true);
    board.playedCard(4)->drawCard(12);
    board.placeLead(4);
    board.placeTaker(4);
    Board::showInFront(board.chooseContractBanner());

    display.clearall();
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(board.scoreLabel(seat)->text(), QStringLiteral("$10000"));
        EXPECT_EQ(board.bonusLabel(seat)->text(), QString());
        EXPECT_EQ(board.cardCountLabel(seat)->text(), QString());
        EXPECT_EQ(board.playedCard(seat)->picture(), 0);
        EXPECT_TRUE(board.eyes(seat)->isHidden());
    }
    EXPECT_TRUE(marks().empty());
    for (const char* hidden : {"panel_domino", "image_lead", "image_Taker", "image_choosecontract"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    EXPECT_EQ(textOf("label_handtype"), QString());
}

TEST_F(BoardDisplayTest, ContractCodesShowTheirLineLogAndRankOrder)
{
    const char* lines[] = {"MORLU - Avoid the King of Hearts.",
                           "WATERLOO - Avoid All Queens.",
                           "SIEGE - Avoid All Spades.",
                           "TOUCHE - Do not take the First or Last Trick.",
                           "GUILLOTINE - Your HEAD is on the block. Avoid ALL!",
                           "DOMINO - Avoid being the last player with cards."};
    const char* logs[] = {"MORLU", "WATERLOO", "SIEGE", "TOUCHE", "GUILLOTINE", "DOMINO"};
    for (int code = 1; code <= 6; ++code) {
        // The log line is the model's, written as the host's choice arrives.
        display.take(morlu::CMD_choosehand, "2+" + std::to_string(code) + "+0+");
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

TEST_F(BoardDisplayTest, DominoContractClearsFoundationsAndPlayedCards)
{
    board.foundation(2)->drawCard(10);
    board.playedCard(3)->drawCard(11);
    board.placeLead(3);
    display.setcontract(6);
    EXPECT_EQ(board.foundation(2)->picture(), 0);
    EXPECT_EQ(board.playedCard(3)->picture(), 0);
    EXPECT_FALSE(shown("image_lead"));
}

} // namespace
