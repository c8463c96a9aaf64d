#include "computerplayer.h"

#include "enginefixture.h"

#include <gmock/gmock.h>

using namespace morlu;
using namespace morlu::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

/// The computer player over a game state laid out by hand.
class ComputerPlayerTest : public ::testing::Test {
protected:
    void hand(int seat, std::vector<int> cards)
    {
        std::sort(cards.begin(), cards.end());
        state.seats[seat].cards.fill(0);
        for (std::size_t i = 0; i < cards.size(); ++i)
            state.seats[seat].cards[i + 1] = cards[i];
    }
    int card(int seat, int slot) const { return state.seats[seat].cards[slot]; }

    GameState state;
    Random random{7};
    ComputerPlayer computer{state, random};
};

TEST_F(ComputerPlayerTest, LeadsTheLowestCardAllowedToLead)
{
    state.contract = Morlu;
    state.tricknumber = 1;
    hand(1, {17, 19, 26, 30});
    EXPECT_EQ(card(1, computer.computerplay(1)), 26) << "no Heart in trick 1 of MORLU";
    state.tricknumber = 2;
    EXPECT_EQ(card(1, computer.computerplay(1)), 17) << "later, Hearts lead too";
    state.contract = Guillotine;
    state.tricknumber = 1;
    hand(1, {3, 17, 26});
    EXPECT_EQ(card(1, computer.computerlead(1)), 3);
    state.contract = Siege;
    hand(1, {25, 26, 27});
    EXPECT_EQ(card(1, computer.computerlead(1)), 25) << "only barred cards: the first one leads";
    hand(1, {});
    EXPECT_EQ(computer.computerlead(1), 0);
}

TEST_F(ComputerPlayerTest, FollowsWithTheHighestOfTheLedSuitOrElseTheLowestCard)
{
    state.contract = Siege;
    state.tricknumber = 3;
    state.ledsuit = Spades;
    hand(2, {3, 26, 30});
    EXPECT_EQ(card(2, computer.computerplay(2)), 30);
    hand(2, {3, 12, 20});
    EXPECT_EQ(card(2, computer.computerfollow(2)), 3);
    hand(2, {12, 20});
    EXPECT_EQ(card(2, computer.computerfollow(2)), 12);
}

TEST_F(ComputerPlayerTest, ShortGameDirectorChoosesGuillotineOrDominoThenTheOther)
{
    SeatRecord& seat = state.seats[3];
    for (int code = 1; code <= 4; ++code)
        seat.used[code] = 1;
    const int first = computer.computerchoosehand(3);
    EXPECT_TRUE(first == Guillotine || first == Domino) << first;
    seat.used[first] = 1;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(computer.computerchoosehand(3), first == Guillotine ? Domino : Guillotine);
    seat.used[Guillotine] = seat.used[Domino] = 1;
    const std::uint32_t before = random.seed();
    EXPECT_EQ(computer.computerchoosehand(3), 0);
    EXPECT_EQ(random.seed(), before) << "nothing to choose, nothing drawn";
}

TEST_F(ComputerPlayerTest, ContractDrawFollowsTheGenerator)
{
    Random reference(random.seed());
    int expected = 0;
    do {
        expected = static_cast<int>(reference.draw(6)) + 1;
    } while (expected == Morlu);
    state.seats[1].used[Morlu] = 1;
    EXPECT_EQ(computer.computerchoosehand(1), expected);
    EXPECT_EQ(random.seed(), reference.seed());
}

TEST_F(ComputerPlayerTest, DominoOpeningDrawsSlotsUntilOneHoldsACard)
{
    state.contract = Domino;
    hand(4, {20});
    state.seats[4].cards = {0, 0, 0, 0, 0, 0, 20, 0, 0};
    Random reference(random.seed());
    int draws = 0;
    while (reference.draw(8) + 1 != 6)
        ++draws;
    EXPECT_EQ(computer.computerplay(4), 6);
    EXPECT_EQ(random.seed(), reference.seed()) << "after " << draws + 1 << " draws";
    state.seats[4].cards.fill(0);
    EXPECT_EQ(computer.computerdomino(4), 0) << "an empty hand must not draw forever";
}

TEST_F(ComputerPlayerTest, DominoTriesSixteenRandomSlotsThenScansInOrder)
{
    state.contract = Domino;
    state.domino.setDominostart(5);
    state.domino.lay(4);
    // Slots 3 and 7 hold layable cards (J of Clubs 12, Q of Diamonds 5); the rest cannot be laid.
    state.seats[2].cards = {0, 1, 2, 12, 3, 9, 10, 5, 17};
    const auto sixteenDraws = [](std::uint32_t seed) {
        Random r(seed);
        std::vector<int> slots;
        for (int i = 0; i < 16; ++i)
            slots.push_back(static_cast<int>(r.draw(8)) + 1);
        return slots;
    };
    std::uint32_t missSeed = 0;
    std::uint32_t sevenFirstSeed = 0;
    for (std::uint32_t seed = 1; missSeed == 0 || sevenFirstSeed == 0; ++seed) {
        const auto slots = sixteenDraws(seed);
        const auto hit = std::find_if(slots.begin(), slots.end(), [](int s) { return s == 3 || s == 7; });
        if (hit == slots.end() && missSeed == 0)
            missSeed = seed;
        if (hit != slots.end() && *hit == 7 && sevenFirstSeed == 0)
            sevenFirstSeed = seed;
    }
    random.setSeed(missSeed);
    EXPECT_EQ(computer.computerdomino(2), 3) << "no draw hit: the first layable slot in order";
    Random reference(missSeed);
    for (int i = 0; i < 16; ++i)
        reference.draw(8);
    EXPECT_EQ(random.seed(), reference.seed());
    random.setSeed(sevenFirstSeed);
    EXPECT_EQ(computer.computerdomino(2), 7) << "the first drawn layable slot";
}

/// The computer inside the engine: pacing and takeovers.
class ComputerSeatTest : public EngineFixture {};

TEST_F(ComputerSeatTest, PlaysAfterTheBotDelayButChoosesAtOnce)
{
    engine.setBotdelay(1500);
    start();
    EXPECT_EQ(lines("CMD_choosehand").size(), 1u) << "the contract choice comes without delay";
    EXPECT_EQ(clock.now(), 0);
    EXPECT_THAT(lines("CMD_placecard"), IsEmpty());
    EXPECT_TRUE(clock.armed(TimerId::ComputerTimer));
    EXPECT_EQ(clock.interval(TimerId::ComputerTimer), 1500);
    clock.advance(1499);
    EXPECT_THAT(lines("CMD_placecard"), IsEmpty());
    EXPECT_THAT(lines("CMD_dplacecard"), IsEmpty());
    clock.advance(1);
    EXPECT_EQ(lines("CMD_placecard").size() + lines("CMD_dplacecard").size(), 1u);
    EXPECT_EQ(clock.interval(TimerId::ComputerTimer), 1500);
}

TEST_F(ComputerSeatTest, TakesOverTheSeatOnTurnAfterTheBotDelay)
{
    seatAllHumans();
    engine.setBotdelay(1000);
    start();
    choose(1, Waterloo);
    EXPECT_FALSE(clock.armed(TimerId::ComputerTimer));
    engine.seat(1).inuse = 0;
    engine.computerTakesOver(1);
    EXPECT_TRUE(clock.armed(TimerId::ComputerTimer));
    outbox.clear();
    clock.advance(1000);
    EXPECT_EQ(lines("CMD_placecard").size(), 1u);
    EXPECT_EQ(engine.turnseat(), 2);
    EXPECT_FALSE(clock.armed(TimerId::ComputerTimer)) << "seat 2 is human";
}

TEST_F(ComputerSeatTest, TakesOverAPendingChoiceAtOnce)
{
    seatAllHumans();
    start();
    engine.seat(1).justwatch = 1;
    outbox.clear();
    engine.computerTakesOver(1);
    EXPECT_EQ(lines("CMD_choosehand").size(), 1u);
    EXPECT_EQ(engine.chooserseat(), 0);
}

TEST_F(ComputerSeatTest, NothingToTakeOver)
{
    seatAllHumans();
    engine.computerTakesOver(1); // no game
    EXPECT_FALSE(clock.armed(TimerId::ComputerTimer));
    start();
    outbox.clear();
    for (const int seat : {0, 2, 5, 9})
        engine.computerTakesOver(seat);
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_FALSE(clock.armed(TimerId::ComputerTimer));
    // A chooser that has used every contract chooses nothing and the game waits.
    engine.seat(1).used.fill(1);
    engine.seat(1).justwatch = 1;
    engine.computerTakesOver(1);
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.chooserseat(), 1);
}

TEST_F(ComputerSeatTest, HumanBackBeforeTheTimerFiresPlaysForHimself)
{
    seatAllHumans();
    start();
    choose(1, Touche);
    engine.seat(1).justwatch = 1;
    engine.computerTakesOver(1);
    engine.seat(1).justwatch = 0;
    outbox.clear();
    clock.runUntilIdle();
    EXPECT_THAT(transcript(), IsEmpty());
    EXPECT_EQ(engine.turnseat(), 1);
}

TEST(SeatRecord, SeatIsComputerPlayedWithoutHumanOrWhileWatching)
{
    SeatRecord seat;
    EXPECT_TRUE(seat.computerPlayed());
    seat.inuse = 1;
    EXPECT_FALSE(seat.computerPlayed());
    seat.justwatch = 1;
    EXPECT_TRUE(seat.computerPlayed());
}

} // namespace
