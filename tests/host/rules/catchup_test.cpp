#include "enginefixture.h"

#include <gmock/gmock.h>

using namespace morlu;
using namespace morlu::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

/// Four humans in a WATERLOO round directed by seat 1, three tricks played and a fourth under way.
class CatchUpTest : public EngineFixture {
protected:
    void SetUp() override
    {
        seatAllHumans();
        start("h");
        choose(1, Siege);
        setHand(1, {1, 2, 3, 4, 20, 21, 22, 23});
        setHand(2, {9, 10, 11, 12, 17, 18, 19, 24});
        setHand(3, {5, 6, 7, 8, 25, 26, 27, 28});
        setHand(4, {13, 14, 15, 16, 29, 30, 31, 32});
        // Trick 1: Diamonds, seat 3 takes it with the 10 of Diamonds (7) and leads on.
        for (const auto& [seat, card] : std::vector<std::pair<int, int>>{
                 {1, 1}, {2, 9}, {3, 7}, {4, 13}, {3, 5}, {4, 14}, {1, 2}, {2, 10}, {3, 6}, {4, 15}, {1, 3}, {2, 11}}) {
            runUntil([&] { return engine.state().playopen; });
            playCard(seat, card);
        }
        runUntil([&] { return engine.state().playopen; });
        // Trick 4: seat 3 leads a Spade that costs money in SIEGE... after seat 4 follows.
        playCard(3, 25);
        playCard(4, 29);
        outbox.clear();
    }
};

TEST_F(CatchUpTest, SpectatorGetsTheGameAndBanksWithZeroChanges)
{
    engine.seat(2).bank = 9700;
    engine.seat(2).money = -300;
    engine.catchUp(6);
    EXPECT_THAT(transcript(), ElementsAre("6:CMD_agame+6+1+h+1+1+3+0+3+0+0+25+29+",
                                          "6:CMD_scores+1+10000+0+2+9700+0+3+10000+0+4+10000+0"));
}

TEST_F(CatchUpTest, SeatAlsoGetsItsUsedContractsAndTheCardsItStillHolds)
{
    engine.catchUp(2);
    const auto all = transcript();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(all[0].starts_with("2:CMD_agame+2+"));
    EXPECT_TRUE(all[1].starts_with("2:CMD_scores+"));
    EXPECT_EQ(all[2], "2:CMD_handsused+2+1+2");
    EXPECT_EQ(all[3], "2:CMD_mycards+2+4+12+5+17+6+18+7+19+8+24");
    outbox.clear();
    engine.catchUp(1);
    EXPECT_EQ(transcript().at(2), "1:CMD_handsused+1+1+2+3");
    EXPECT_EQ(transcript().at(3), "1:CMD_mycards+1+4+4+5+20+6+21+7+22+8+23");
}

TEST_F(CatchUpTest, NothingWhileNoGameRuns)
{
    RecordingOutbox quiet;
    FakeClock idle;
    Random r(1);
    GameEngine fresh(quiet, idle, r);
    fresh.catchUp(2);
    EXPECT_THAT(quiet.sent(), IsEmpty());
}

} // namespace
