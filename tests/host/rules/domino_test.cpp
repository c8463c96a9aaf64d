#include "dominolayout.h"
#include "enginefixture.h"

#include <gmock/gmock.h>

using namespace morlu;
using namespace morlu::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

/// The cards of the pack that may be laid on @p layout now.
std::vector<int> layable(const DominoLayout& layout)
{
    std::vector<int> cards;
    for (int card = 1; card <= kCardCount; ++card) {
        if (!layout.laid(getsuit(card), dominorank(card)) && layout.mayLay(card))
            cards.push_back(card);
    }
    return cards;
}

DominoLayout openedWith(int card)
{
    DominoLayout layout;
    layout.setDominostart(dominorank(card));
    layout.lay(card);
    return layout;
}

TEST(DominoLayout, JackOpeningAllowsTheOtherJacksAndTheQueenAbove)
{
    const DominoLayout layout = openedWith(4);
    EXPECT_EQ(layout.dominostart(), 5);
    EXPECT_THAT(layable(layout), ElementsAre(5, 12, 20, 28));
}

TEST(DominoLayout, SuitWrapsFromTheAceToTheSeven)
{
    DominoLayout layout = openedWith(4);
    for (const int club : {12, 13, 14})
        layout.lay(club);
    EXPECT_FALSE(layout.mayLay(9)) << "the 7 of Clubs waits for the Ace";
    layout.lay(16);
    EXPECT_TRUE(layout.mayLay(9));
    EXPECT_FALSE(layout.mayLay(10));
    layout.lay(9);
    EXPECT_TRUE(layout.mayLay(10));
    // Ten of Clubs (15, rank 4) ends the suit after the 9 (11): J, Q, K, A, 7, 8, 9, 10.
    layout.lay(10);
    layout.lay(11);
    EXPECT_TRUE(layout.mayLay(15));
}

TEST(DominoLayout, SevenOpeningEndsEverySuitWithItsAce)
{
    DominoLayout layout = openedWith(1);
    EXPECT_EQ(layout.dominostart(), 1);
    EXPECT_THAT(layable(layout), ElementsAre(2, 9, 17, 25));
    // Hearts in domino order 7, 8, 9, 10, J, Q, K: the Ace comes last.
    for (const int heart : {17, 18, 19, 23, 20, 21}) {
        ASSERT_TRUE(layout.mayLay(heart)) << heart;
        layout.lay(heart);
        EXPECT_FALSE(layout.mayLay(24));
    }
    layout.lay(22);
    EXPECT_TRUE(layout.mayLay(24));
}

TEST(DominoLayout, AceOpeningLetsTheSevenFollowAtOnce)
{
    const DominoLayout layout = openedWith(32);
    EXPECT_EQ(layout.dominostart(), 8);
    EXPECT_THAT(layable(layout), ElementsAre(8, 16, 24, 25));
}

TEST(DominoLayout, NoCardAndAnEmptyLayoutLayNothing)
{
    DominoLayout layout;
    EXPECT_FALSE(layout.mayLay(4));
    layout.setDominostart(5);
    EXPECT_FALSE(layout.mayLay(0));
    SeatRecord seat;
    seat.cards = {0, 0, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(layout.checkforplay(seat));
    seat.cards[5] = 20;
    EXPECT_TRUE(layout.checkforplay(seat));
}

/// Four humans; seat 1 directs DOMINO in round 1.
class DominoTest : public EngineFixture {
protected:
    void SetUp() override
    {
        seatAllHumans();
        start();
        choose(1, Domino);
        outbox.clear();
    }
};

TEST_F(DominoTest, FirstCardFixesTheStartRankAndUnlayableCardsAreRefused)
{
    setHand(1, {4, 6});
    setHand(2, {1, 12});
    playCard(1, 4);
    EXPECT_THAT(transcript(), ElementsAre("*:CMD_dplacecard+1+1+4+1+5+1+", "*:CMD_nextplayer+2+"));
    outbox.clear();
    playCard(2, 1);
    EXPECT_THAT(transcript(), ElementsAre("2:CMD_aerror+2+5+"));
    EXPECT_EQ(engine.seat(2).cards[1], 1);
    EXPECT_EQ(engine.turnseat(), 2);
    outbox.clear();
    playCard(2, 12);
    EXPECT_EQ(lines("CMD_dplacecard").at(0), "CMD_dplacecard+2+2+12+2+5+1+");
}

TEST_F(DominoTest, SeatsThatCannotLayArePassedSilently)
{
    setHand(1, {4, 5});
    setHand(2, {1});
    setHand(3, {2});
    setHand(4, {20});
    playCard(1, 4);
    EXPECT_THAT(transcript(), ElementsAre("*:CMD_dplacecard+1+1+4+1+5+1+", "*:CMD_nextplayer+4+"));
}

TEST_F(DominoTest, ThirdSeatOutEndsTheRoundAndTheLastSeatPays)
{
    setHand(1, {4, 5});
    setHand(2, {12});
    setHand(3, {20});
    setHand(4, {1, 28});
    playCard(1, 4);
    playCard(2, 12);
    playCard(3, 20);
    playCard(4, 28);
    outbox.clear();
    playCard(1, 5);
    EXPECT_THAT(transcript(), ElementsAre("*:CMD_dplacecard+1+1+5+2+5+0+", "*:CMD_dendhand+4+",
                                          "*:CMD_scores+1+10800+800+2+10000+0+3+10000+0+4+9200+-800"));
    EXPECT_EQ(engine.state().timer1tag, 2);
    EXPECT_EQ(lines("CMD_starthand").size(), 0u);
}

TEST_F(DominoTest, DirectorLeftHoldingCardsPaysNobody)
{
    setHand(1, {4, 1});
    setHand(2, {12});
    setHand(3, {20});
    setHand(4, {28});
    playCard(1, 4);
    playCard(2, 12);
    playCard(3, 20);
    outbox.clear();
    playCard(4, 28);
    EXPECT_THAT(transcript(), ElementsAre("*:CMD_dplacecard+4+4+28+1+5+0+", "*:CMD_dendhand+1+",
                                          "*:CMD_scores+1+10000+0+2+10000+0+3+10000+0+4+10000+0"));
}

TEST_F(DominoTest, TheRoundRunsWithoutPausesOrFurtherTrickOpenings)
{
    // A whole dealt DOMINO round played by the computer: one CMD_starthand (sent at the choice), no pause.
    for (int n = 1; n <= 4; ++n)
        engine.seat(n).justwatch = 1;
    engine.computerTakesOver(1);
    runUntil([&] { return !lines("CMD_dendhand").empty(); });
    EXPECT_THAT(lines("CMD_starthand"), IsEmpty());
    EXPECT_EQ(lines("CMD_dplacecard").size() + 0u >= 25u, true);
    EXPECT_EQ(lines("CMD_scores").size(), 1u);
}

} // namespace
