#include "enginefixture.h"
#include "fieldreader.h"

#include <gmock/gmock.h>

using namespace morlu;
using namespace morlu::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

/// Four human seats; seat 1 directs round 1 with the contract under test, hands laid out by each test.
class TrickTest : public EngineFixture {
protected:
    void openRound(int contract)
    {
        seatAllHumans();
        start();
        choose(1, contract);
        ASSERT_EQ(engine.state().contract, contract);
        ASSERT_EQ(engine.turnseat(), 1);
        outbox.clear();
    }
    /// Plays the cards of one trick, in the order given as (seat, card).
    void playTrick(std::initializer_list<std::pair<int, int>> plays)
    {
        for (const auto& [seat, card] : plays)
            playCard(seat, card);
    }
    /// Waits out the pause after a trick.
    void nextTrick()
    {
        runUntil([&] { return engine.state().playopen; });
        outbox.clear();
    }
    /// The transcript from the last CMD_endhand on.
    std::vector<std::string> fromEndhand() const
    {
        const auto all = transcript();
        auto it = std::find_if(all.rbegin(), all.rend(),
                               [](const std::string& line) { return line.starts_with("*:CMD_endhand"); });
        return {it.base() - 1, all.end()};
    }
};

TEST_F(TrickTest, FirstLeadRulesRefuseWithTheirCodesOnlyInTrickOne)
{
    struct Case {
        int contract;
        int refusedCard;
        int code;
        int allowedCard;
    };
    for (const Case c :
         {Case{Morlu, 17, 1, 25}, Case{Siege, 25, 2, 17}, Case{Guillotine, 17, 3, 1}, Case{Guillotine, 30, 3, 9}}) {
        SCOPED_TRACE(c.contract);
        openRound(c.contract);
        setHand(1, {c.refusedCard, c.allowedCard});
        playCard(1, c.refusedCard);
        EXPECT_THAT(transcript(), ElementsAre("1:CMD_aerror+1+" + std::to_string(c.code) + "+"));
        // Nothing changed: the card is still held, nobody has led, the turn stays.
        EXPECT_EQ(engine.seat(1).cards[slotOf(1, c.refusedCard)], c.refusedCard);
        EXPECT_EQ(engine.state().ledsuit, 0);
        EXPECT_EQ(engine.state().trickleader, 0);
        EXPECT_EQ(engine.turnseat(), 1);
        outbox.clear();
        playCard(1, c.allowedCard);
        EXPECT_EQ(lines("CMD_placecard").size(), 1u);
    }
}

TEST_F(TrickTest, MorluHeartLeadIsAcceptedFromTrickTwo)
{
    openRound(Morlu);
    setHand(1, {8, 17});
    setHand(2, {2, 9});
    setHand(3, {3, 10});
    setHand(4, {4, 11});
    playTrick({{1, 8}, {2, 2}, {3, 3}, {4, 4}});
    nextTrick();
    ASSERT_EQ(engine.turnseat(), 1);
    playCard(1, 17);
    EXPECT_THAT(transcript(), ElementsAre("*:CMD_placecard+1+17+2+t+", "*:CMD_nextplayer+2+"));
}

TEST_F(TrickTest, FollowerMustFollowSuitWhenAble)
{
    openRound(Waterloo);
    setHand(1, {9, 1});
    setHand(2, {10, 17});
    setHand(3, {18, 25});
    playCard(1, 9);
    outbox.clear();
    playCard(2, 17);
    EXPECT_THAT(transcript(), ElementsAre("2:CMD_aerror+2+4+"));
    EXPECT_EQ(engine.turnseat(), 2);
    EXPECT_EQ(engine.state().ledsuit, Clubs);
    outbox.clear();
    playCard(2, 10);
    // Seat 3 holds no Club and may play anything.
    playCard(3, 18);
    EXPECT_THAT(lines("CMD_placecard"), ElementsAre("CMD_placecard+2+10+1+f+", "CMD_placecard+3+18+1+f+"));
    EXPECT_THAT(lines("CMD_aerror"), IsEmpty());
}

TEST_F(TrickTest, RefusalGoesOnlyToASeatWithAHuman)
{
    openRound(Waterloo);
    engine.seat(2).inuse = 0;
    setHand(1, {9});
    setHand(2, {10, 17});
    playCard(1, 9);
    outbox.clear();
    playCard(2, 17);
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.seat(2).cards[2], 17);
}

TEST_F(TrickTest, HighestCardOfTheLedSuitTakesTheTrick)
{
    openRound(Touche);
    setHand(1, {11});
    setHand(2, {8});
    setHand(3, {15});
    setHand(4, {14});
    playTrick({{1, 11}, {2, 8}, {3, 15}, {4, 14}});
    EXPECT_THAT(lines("CMD_endhand"), ElementsAre("CMD_endhand+3+"));
    // The taker of trick 1 pays for it in TOUCHE.
    EXPECT_THAT(lines("CMD_took"), ElementsAre("CMD_took+3+4+f+f+"));
}

TEST_F(TrickTest, MorluEndsWhenTheKingOfHeartsFalls)
{
    openRound(Morlu);
    setHand(1, {1, 2, 17});
    setHand(2, {9, 10, 24});
    setHand(3, {11, 12, 22});
    setHand(4, {13, 14, 18});
    playTrick({{1, 1}, {2, 9}, {3, 11}, {4, 13}});
    nextTrick();
    playTrick({{1, 2}, {2, 10}, {3, 12}, {4, 14}});
    nextTrick();
    playTrick({{1, 17}, {2, 24}, {3, 22}, {4, 18}});
    EXPECT_THAT(fromEndhand(), ElementsAre("*:CMD_endhand+2+", "*:CMD_took+2+1+f+t+",
                                           "*:CMD_scores+1+10800+800+2+9200+-800+3+10000+0+4+10000+0"));
    EXPECT_EQ(engine.seat(2).bank, 9200);
    // The round is over: the next thing is the round pause, not a fourth trick.
    EXPECT_EQ(engine.state().timer1tag, 2);
    outbox.clear();
    runUntil([&] { return !lines("CMD_startround").empty(); });
    EXPECT_THAT(lines("CMD_starthand"), IsEmpty());
    EXPECT_EQ(lines("CMD_startround").front(), "CMD_startround+2+2+");
}

TEST_F(TrickTest, MorluDirectorTakingTheKingPaysNobodyAndStillEndsTheRound)
{
    openRound(Morlu);
    setHand(1, {22});
    setHand(2, {17});
    setHand(3, {18});
    setHand(4, {19});
    // A leader holding only Hearts may lead one in trick 1.
    playTrick({{1, 22}, {2, 17}, {3, 18}, {4, 19}});
    EXPECT_THAT(fromEndhand(), ElementsAre("*:CMD_endhand+1+", "*:CMD_took+1+1+t+t+",
                                           "*:CMD_scores+1+10000+0+2+10000+0+3+10000+0+4+10000+0"));
    EXPECT_EQ(engine.state().timer1tag, 2);
}

TEST_F(TrickTest, WaterlooReportsEachQueenAndEndsWithTheFourth)
{
    openRound(Waterloo);
    setHand(1, {5, 24});
    setHand(2, {13, 18});
    setHand(3, {7, 21});
    setHand(4, {1, 29});
    playTrick({{1, 5}, {2, 13}, {3, 7}, {4, 1}});
    EXPECT_THAT(fromEndhand(), ElementsAre("*:CMD_endhand+3+", "*:CMD_took+3+2+f+f+", "*:CMD_took+3+2+f+f+",
                                           "*:CMD_scores+1+10400+400+2+10000+0+3+9600+-400+4+10000+0"));
    nextTrick();
    ASSERT_EQ(engine.turnseat(), 3);
    playTrick({{3, 21}, {4, 29}, {1, 24}, {2, 18}});
    EXPECT_THAT(fromEndhand(), ElementsAre("*:CMD_endhand+1+", "*:CMD_took+1+2+t+f+", "*:CMD_took+1+2+t+t+",
                                           "*:CMD_scores+1+10400+0+2+10000+0+3+9600+0+4+10000+0"));
    EXPECT_EQ(engine.state().timer1tag, 2);
}

TEST_F(TrickTest, ToucheChargesTheFirstAndTheLastTrick)
{
    openRound(Touche);
    setHand(1, {1, 9, 10, 11, 12, 13, 14, 15});
    setHand(2, {2, 3, 4, 5, 6, 7, 8, 16});
    setHand(3, {17, 18, 19, 20, 21, 22, 23, 24});
    setHand(4, {25, 26, 27, 28, 29, 30, 31, 32});
    playTrick({{1, 1}, {2, 2}, {3, 17}, {4, 25}});
    EXPECT_THAT(lines("CMD_took"), ElementsAre("CMD_took+2+4+f+f+"));
    EXPECT_EQ(engine.seat(2).bank, 9600);
    for (int trick = 2; trick <= 7; ++trick) {
        nextTrick();
        playTrick({{2, trick + 1}, {3, 16 + trick}, {4, 24 + trick}, {1, 7 + trick}});
        EXPECT_THAT(lines("CMD_took"), IsEmpty()) << "trick " << trick;
    }
    nextTrick();
    playTrick({{2, 16}, {3, 24}, {4, 32}, {1, 15}});
    EXPECT_THAT(fromEndhand(), ElementsAre("*:CMD_endhand+2+", "*:CMD_took+2+5+f+f+",
                                           "*:CMD_scores+1+10800+400+2+9200+-400+3+10000+0+4+10000+0"));
    EXPECT_EQ(engine.state().timer1tag, 2);
}

TEST_F(TrickTest, GuillotineKingAndQueenOfSpadesCost1100InThreeReports)
{
    openRound(Guillotine);
    setHand(1, {1, 17});
    setHand(2, {8, 24});
    setHand(3, {9, 22});
    setHand(4, {10, 29});
    playTrick({{1, 1}, {2, 8}, {3, 9}, {4, 10}});
    EXPECT_THAT(lines("CMD_took"), ElementsAre("CMD_took+2+4+f+f+"));
    nextTrick();
    playTrick({{2, 24}, {3, 22}, {4, 29}, {1, 17}});
    EXPECT_THAT(fromEndhand(),
                ElementsAre("*:CMD_endhand+2+", "*:CMD_took+2+1+f+f+", "*:CMD_took+2+2+f+f+", "*:CMD_took+2+3+f+f+",
                            "*:CMD_scores+1+11500+1100+2+8500+-1100+3+10000+0+4+10000+0"));
    // GUILLOTINE never ends early: trick 3 opens after the pause.
    EXPECT_EQ(engine.state().timer1tag, 1);
}

TEST_F(TrickTest, LeaderHoldingOnlyBarredCardsMayLeadAnyOfThem)
{
    struct Case {
        int contract;
        std::vector<int> hand;
        int lead;
    };
    for (const Case& c : {Case{Morlu, {17, 20}, 20}, Case{Siege, {25, 31}, 31}, Case{Guillotine, {18, 26}, 26}}) {
        SCOPED_TRACE(c.contract);
        openRound(c.contract);
        setHand(1, c.hand);
        playCard(1, c.lead);
        EXPECT_THAT(lines("CMD_aerror"), IsEmpty());
        EXPECT_EQ(lines("CMD_placecard").at(0), "CMD_placecard+1+" + std::to_string(c.lead) + "+2+t+");
    }
}

TEST_F(TrickTest, OutOfRangeAndOutOfTurnRequestsAreDroppedSilently)
{
    openRound(Morlu);
    setHand(1, {1, 2});
    setHand(2, {3});
    const GameState before = engine.state();
    for (const char* request : {"0+1+", "5+1+", "-1+1+", "1+0+", "1+9+", "1+3+", "1+-2+", "2+1+", "3+1+"})
        engine.playcard(PlayCard::read(request));
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.turnseat(), 1);
    EXPECT_EQ(engine.seat(1).cards, before.seats[1].cards);
    EXPECT_EQ(engine.state().ledsuit, 0);

    playCard(1, 1);
    outbox.clear();
    engine.playcard(PlayCard{1, 2}); // already played to this trick
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.seat(1).cards[2], 2);
}

TEST_F(TrickTest, RequestsDuringThePauseAreIgnored)
{
    openRound(Waterloo);
    setHand(1, {1, 2});
    setHand(2, {3, 4});
    setHand(3, {9, 10});
    setHand(4, {11, 12});
    playTrick({{1, 1}, {2, 3}, {3, 9}, {4, 11}});
    ASSERT_FALSE(engine.state().playopen);
    outbox.clear();
    // The taker is seat 2, but the trick has not opened yet.
    play(2, 2);
    play(1, 2);
    EXPECT_THAT(transcript(), IsEmpty());
}

TEST_F(TrickTest, NonNumericFieldsThrowBeforeAnythingChanges)
{
    openRound(Morlu);
    setHand(1, {1, 2});
    for (const char* request : {"x+1+", "1+x+", "1++", "", "1", " 1+1+", "+1+1+"})
        EXPECT_THROW(engine.playcard(PlayCard::read(request)), FieldError) << request;
    for (const char* request : {"x+1+", "2+", "2+five+"})
        EXPECT_THROW(engine.choosetype(ChooseType::read(request)), FieldError) << request;
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.seat(1).cards[1], 1);
}

} // namespace
