#include "cards.h"

#include "names.h"

#include <gtest/gtest.h>

using namespace morlu;

TEST(Cards, SuitFollowsTheCodeBlocksAndIsZeroOutsideThePack)
{
    EXPECT_EQ(getsuit(0), NoSuit);
    EXPECT_EQ(getsuit(33), NoSuit);
    EXPECT_EQ(getsuit(-1), NoSuit);
    EXPECT_EQ(getsuit(1), Diamonds);
    EXPECT_EQ(getsuit(8), Diamonds);
    EXPECT_EQ(getsuit(9), Clubs);
    EXPECT_EQ(getsuit(24), Hearts);
    EXPECT_EQ(getsuit(25), Spades);
    EXPECT_EQ(getsuit(32), Spades);
}

TEST(Cards, TrickOrderIsCodeOrderWithinTheLedSuit)
{
    // 22 King of Hearts < 23 ten of Hearts < 24 Ace of Hearts.
    EXPECT_TRUE(beatsInTrick(23, 22, Hearts));
    EXPECT_TRUE(beatsInTrick(24, 23, Hearts));
    EXPECT_FALSE(beatsInTrick(22, 24, Hearts));
    // A card off the led suit never wins, however high.
    EXPECT_FALSE(beatsInTrick(8, 11, Clubs));
    EXPECT_TRUE(beatsInTrick(11, 8, Clubs));
}

TEST(Cards, DominoRanksRunSevenToAce)
{
    EXPECT_EQ(dominorank(8), 8); // Ace of Diamonds
    EXPECT_EQ(dominorank(7), 4); // ten of Diamonds
    EXPECT_EQ(dominorank(4), 5); // Jack of Diamonds
    EXPECT_EQ(dominorank(1), 1); // seven of Diamonds
    EXPECT_EQ(dominorank(32), 8);
    EXPECT_EQ(dominorank(0), 0);
    EXPECT_EQ(gettype(0), 8);
    EXPECT_EQ(gettype(7), 4);
    EXPECT_EQ(gettype(8), 0);
    // Every suit holds each domino rank exactly once.
    for (int suit = 0; suit < 4; ++suit) {
        int seen = 0;
        for (int p = 1; p <= 8; ++p)
            seen |= 1 << dominorank(suit * 8 + p);
        EXPECT_EQ(seen, 0x1FE);
    }
}

TEST(Cards, MoneyCardsByContract)
{
    EXPECT_TRUE(isMoneyCard(kKingOfHearts, Morlu));
    EXPECT_FALSE(isMoneyCard(21, Morlu));
    for (int queen : kQueens)
        EXPECT_TRUE(isMoneyCard(queen, Waterloo));
    EXPECT_FALSE(isMoneyCard(22, Waterloo));
    EXPECT_TRUE(isMoneyCard(25, Siege));
    EXPECT_FALSE(isMoneyCard(24, Siege));
    EXPECT_TRUE(isMoneyCard(29, Guillotine)); // Queen of Spades counts twice there
    EXPECT_FALSE(isMoneyCard(22, Touche));
    EXPECT_FALSE(isMoneyCard(22, Domino));
}

TEST(Cards, ContractTextsAndUnknownCodes)
{
    EXPECT_EQ(contractLabel(1), "MORLU - Avoid the King of Hearts.");
    EXPECT_EQ(contractLabel(6), "DOMINO - Avoid being the last player with cards.");
    EXPECT_EQ(contractName(5), "GUILLOTINE");
    EXPECT_TRUE(contractLabel(0).empty());
    EXPECT_TRUE(contractName(7).empty());
}

TEST(Cards, OnlyTheFirstCharacterOfTheLengthFieldCounts)
{
    const GameLength shortGame = gamelengthFor("short");
    EXPECT_EQ(shortGame.letter, "s");
    EXPECT_EQ(shortGame.contracts, 8);
    EXPECT_TRUE(shortGame.used[1] && shortGame.used[2] && shortGame.used[3] && shortGame.used[4]);
    EXPECT_FALSE(shortGame.used[5] || shortGame.used[6]);

    const GameLength half = gamelengthFor("half");
    EXPECT_EQ(half.contracts, 16);
    EXPECT_TRUE(half.used[1] && half.used[2]);
    EXPECT_FALSE(half.used[3]);

    for (const char* field : {"", "l", "S", "x", "H"}) {
        const GameLength full = gamelengthFor(field);
        EXPECT_EQ(full.contracts, 24) << field;
        for (int code = 1; code <= 6; ++code)
            EXPECT_FALSE(full.used[code]) << field;
    }
    EXPECT_EQ(gamelengthFor("").letter, "");
}

TEST(Names, TheHostAndTheTableNameTheComputerPlayersOfSeatsTwoToFour)
{
    struct Row {
        int seat;
        std::string_view host;
        std::string_view table;
    };
    for (const Row& row : {Row{0, "", ""}, Row{1, "", ""}, Row{2, "Klot", "Klot"}, Row{3, "Klock", "Klock"},
                           Row{4, "Kling", "Kling"}, Row{5, "", ""}}) {
        EXPECT_EQ(hostComputerName(row.seat), row.host) << row.seat;
        EXPECT_EQ(tableComputerName(row.seat), row.table) << row.seat;
    }
}
