#include "enginefixture.h"
#include "gamemessages.h"

#include <gmock/gmock.h>

using namespace morlu;
using namespace morlu::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class GameFlowTest : public EngineFixture {
protected:
    /// Every chooser announced so far, in order.
    std::vector<int> choosers() const
    {
        std::vector<int> result;
        for (const std::string& line : lines("CMD_startround"))
            result.push_back(StartRound::read(std::string_view(line).substr(15)).seat);
        return result;
    }
};

TEST_F(GameFlowTest, ChooserRotatesEveryRoundAndTheGameEndsAfterItsLength)
{
    struct Case {
        std::string length;
        int rounds;
    };
    for (const Case& c : {Case{"s", 8}, Case{"h", 16}, Case{"l", 24}, Case{"", 24}, Case{"short", 8}}) {
        SCOPED_TRACE(c.length);
        outbox.clear();
        start(c.length);
        clock.runUntilIdle();
        EXPECT_FALSE(engine.gamerunning());
        const std::vector<int> seats = choosers();
        ASSERT_EQ(static_cast<int>(seats.size()), c.rounds);
        for (int round = 1; round <= c.rounds; ++round)
            EXPECT_EQ(seats[round - 1], (round - 1) % 4 + 1) << "round " << round;
        EXPECT_EQ(lines("CMD_winner").size(), 1u);
        EXPECT_TRUE(transcript().back().starts_with("*:CMD_winner+"));
        EXPECT_EQ(lines("CMD_startgame").front(), "CMD_startgame+Host+" + c.length.substr(0, 1) + "+");
    }
}

TEST_F(GameFlowTest, ShortGameMarksTheFirstFourContractsUsed)
{
    seatHumans({1});
    start("s");
    outbox.clear();
    choose(1, Waterloo);
    EXPECT_THAT(transcript(), ElementsAre("1:CMD_alreadychoose+1+2+"));
    EXPECT_EQ(engine.chooserseat(), 1);
    outbox.clear();
    choose(1, Domino);
    EXPECT_THAT(lines("CMD_choosehand"), ElementsAre("CMD_choosehand+1+6+0+"));
    EXPECT_EQ(engine.chooserseat(), 0);
}

TEST_F(GameFlowTest, HalfGameMarksMorluAndWaterlooUsed)
{
    seatHumans({1});
    start("half");
    for (const int code : {1, 2}) {
        outbox.clear();
        choose(1, code);
        EXPECT_THAT(transcript(), ElementsAre("1:CMD_alreadychoose+1+" + std::to_string(code) + "+"));
    }
    EXPECT_EQ(engine.state().contracttotal, 16);
}

TEST_F(GameFlowTest, ChoiceFromAnotherSeatOrOutOfRangeIsIgnored)
{
    seatAllHumans();
    start();
    outbox.clear();
    for (const char* request : {"2+1+", "0+1+", "5+1+", "1+0+", "1+7+", "1+-1+"})
        engine.choosetype(ChooseType::read(request));
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.chooserseat(), 1);
    choose(1, Siege);
    outbox.clear();
    // No choice is pending now: chooserseat is 0, and a request naming seat 0 must not match it.
    engine.choosetype(ChooseType{0, 1});
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.state().contract, Siege);
    EXPECT_EQ(engine.state().directorseat, 1);
}

TEST_F(GameFlowTest, ChosenOpeningSequenceAndTheDirectorLeads)
{
    seatAllHumans();
    start();
    outbox.clear();
    choose(1, Siege);
    EXPECT_THAT(transcript(), ElementsAre("*:CMD_choosehand+1+3+0+", "*:CMD_starthand+", "*:CMD_nextplayer+1+"));
}

TEST_F(GameFlowTest, StartSendsGameRoundAndEachHumanItsOwnCards)
{
    seatHumans({1, 3});
    start("l");
    const auto all = transcript();
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(all[0], "*:CMD_startgame+Host+l+");
    EXPECT_EQ(all[1], "*:CMD_startround+1+1+");
    EXPECT_TRUE(all[2].starts_with("1:CMD_mycards+1+1+"));
    EXPECT_TRUE(all[3].starts_with("3:CMD_mycards+3+1+"));
    EXPECT_EQ(all.size(), 4u) << "seat 1 is human: nothing happens until it chooses";
    const MyCards cards = MyCards::read(std::string_view(lines("CMD_mycards")[0]).substr(12));
    ASSERT_EQ(cards.cards.size(), 8u);
    for (int slot = 1; slot <= 8; ++slot) {
        EXPECT_EQ(cards.cards[slot - 1].slot, slot);
        EXPECT_EQ(cards.cards[slot - 1].card, engine.seat(1).cards[slot]);
        if (slot > 1) {
            EXPECT_LT(cards.cards[slot - 2].card, cards.cards[slot - 1].card);
        }
    }
}

TEST_F(GameFlowTest, ReusingAContractLaterInTheGameIsRefused)
{
    seatHumans({3});
    start();
    engine.seat(3).justwatch = 1;
    runToRoundPause(2);
    engine.seat(3).justwatch = 0;
    runUntil([&] { return engine.chooserseat() == 3; });
    ASSERT_EQ(engine.state().contractnumber, 3);
    choose(3, Siege);
    ASSERT_EQ(engine.state().contract, Siege);
    // Hand the seat to the computer the way the session does when its human starts watching.
    engine.seat(3).justwatch = 1;
    engine.computerTakesOver(3);
    runToRoundPause(6);
    engine.seat(3).justwatch = 0;
    runUntil([&] { return engine.chooserseat() == 3; });
    ASSERT_EQ(engine.state().contractnumber, 7);
    outbox.clear();
    choose(3, Siege);
    EXPECT_THAT(transcript(), ElementsAre("3:CMD_alreadychoose+3+3+"));
    EXPECT_EQ(engine.chooserseat(), 3);
}

TEST_F(GameFlowTest, RestartMidGameWithAHalfGame)
{
    start("l");
    runUntil([&] { return engine.state().contractnumber == 5 && engine.state().playopen; });
    seatHumans({1});
    outbox.clear();
    engine.startgame(StartGame{"Anna", "h"});
    EXPECT_EQ(transcript().at(0), "*:CMD_startgame+Anna+h+");
    EXPECT_EQ(transcript().at(1), "*:CMD_startround+1+1+");
    EXPECT_EQ(engine.state().contracttotal, 16);
    EXPECT_EQ(engine.chooserseat(), 1);
    EXPECT_FALSE(clock.armed(TimerId::Timer1));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(engine.seat(n).bank, 10000);
        EXPECT_EQ(engine.seat(n).used[1] + engine.seat(n).used[2], 2);
        EXPECT_EQ(engine.seat(n).used[3] + engine.seat(n).used[4] + engine.seat(n).used[5] + engine.seat(n).used[6], 0);
    }
    engine.seat(1).justwatch = 1;
    engine.computerTakesOver(1);
    clock.runUntilIdle();
    EXPECT_EQ(lines("CMD_startround").size(), 16u);
    EXPECT_EQ(lines("CMD_winner").size(), 1u);
}

TEST_F(GameFlowTest, StartingAGameClearsWatchingSilently)
{
    seatAllHumans();
    engine.seat(2).justwatch = 1;
    engine.seat(4).justwatch = 1;
    start();
    EXPECT_EQ(engine.seat(2).justwatch, 0);
    EXPECT_EQ(engine.seat(4).justwatch, 0);
    EXPECT_THAT(lines("CMD_justwatching"), IsEmpty());
}

TEST_F(GameFlowTest, PausesLastThreeTicksBetweenTricksAndSevenBetweenRounds)
{
    seatAllHumans();
    start();
    choose(1, Morlu);
    setHand(1, {1, 22});
    setHand(2, {2, 17});
    setHand(3, {3, 18});
    setHand(4, {4, 19});
    for (int seat = 1; seat <= 4; ++seat)
        play(seat, 1);
    EXPECT_TRUE(clock.armed(TimerId::Timer1));
    EXPECT_EQ(clock.interval(TimerId::Timer1), 1000);
    outbox.clear();
    clock.advance(2999);
    EXPECT_THAT(lines("CMD_starthand"), IsEmpty());
    clock.advance(1);
    EXPECT_THAT(lines("CMD_starthand").size(), 1u);
    EXPECT_FALSE(clock.armed(TimerId::Timer1));
    // Seat 4 took trick 1 and leads; seat 1's King of Hearts ends the round.
    play(4, 2);
    play(1, 2);
    play(2, 2);
    play(3, 2);
    outbox.clear();
    clock.advance(6999);
    EXPECT_THAT(lines("CMD_startround"), IsEmpty());
    clock.advance(1);
    EXPECT_THAT(lines("CMD_startround"), ElementsAre("CMD_startround+2+2+"));
}

TEST_F(GameFlowTest, PauseTickIsConfigurable)
{
    engine.setPauseTick(0);
    seatAllHumans();
    start();
    choose(1, Waterloo);
    for (int seat = 1; seat <= 4; ++seat)
        setHand(seat, {seat * 8 - 7});
    for (int seat = 1; seat <= 4; ++seat)
        play(seat, 1);
    EXPECT_EQ(clock.interval(TimerId::Timer1), 0);
    EXPECT_EQ(clock.runUntilIdle(10), 3);
    EXPECT_TRUE(engine.state().playopen);
}

TEST_F(GameFlowTest, WinnerTextNamesTheHighestBankAndEveryTie)
{
    struct Case {
        std::array<int, 4> banks;
        std::array<const char*, 4> names;
        std::string text;
    };
    const std::vector<Case> cases{
        {{10000, 12000, 12000, 9000}, {"Ann", "Bea", "Cid", "Dan"}, "Bea and Cid"},
        {{10000, 12000, 12000, 9000}, {"Ann", "Bea", "", "Dan"}, "Bea and Klock"},
        {{9000, 9500, 9900, 21600}, {"Ann", "", "", ""}, "Kling"},
        {{10000, 10000, 10000, 10000}, {"Ann", "", "Cid", ""}, "Ann and Klot and Cid and Kling"},
        {{13000, 9000, 13000, 5000}, {"Ann", "Bea", "Cid", "Dan"}, "Ann and Cid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // A short game; seat 4 chooses the last round by hand, DOMINO with itself left holding cards, so
        // no money moves in it and the banks set before it decide the game.
        seatHumans({4});
        outbox.clear();
        start("s");
        engine.seat(4).justwatch = 1;
        runToRoundPause(3);
        engine.seat(4).justwatch = 0;
        runUntil([&] { return engine.chooserseat() == 4; });
        choose(4, Guillotine);
        engine.seat(4).justwatch = 1;
        engine.computerTakesOver(4);
        runToRoundPause(7);
        engine.seat(4).justwatch = 0;
        runUntil([&] { return engine.chooserseat() == 4; });
        choose(4, Domino);
        setHand(1, {9});
        setHand(2, {17});
        setHand(3, {25});
        setHand(4, {1, 2});
        for (int n = 1; n <= 4; ++n) {
            engine.seat(n).bank = c.banks[n - 1];
            engine.seat(n).name = c.names[n - 1];
        }
        playCard(4, 1);
        clock.runUntilIdle();
        EXPECT_THAT(lines("CMD_winner"), ElementsAre("CMD_winner+" + c.text + "+"));
        EXPECT_FALSE(engine.gamerunning());
    }
}

} // namespace
