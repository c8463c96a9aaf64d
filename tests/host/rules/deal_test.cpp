#include "enginefixture.h"
#include "gamemessages.h"

#include <gmock/gmock.h>

using namespace morlu;
using namespace morlu::test;
using ::testing::ElementsAre;

namespace {

// The first deal of seed 0, worked out from the generator's definition. A draw in 0..31 is
// seed <- seed * 134775813 + 1 (mod 2^32), then (seed * 32) >> 32; each card 1..32 in turn draws places
// (draw + 1) until an empty one comes up.
//   card 1: seed 0 -> 1;                                    1 * 32 >> 32 = 0          -> place 1
//   card 2: seed 1 -> 134775814;                   4312826048 >> 32 = 1 (4312826048 = 2^32 + 17858752) -> place 2
//   card 3: 134775814 * 134775813 + 1 = 18164519904586783 = 4229256 * 2^32 + 3698175007, seed 3698175007;
//           3698175007 * 32 = 118341600224 = 27 * 2^32 + 2377483232 -> 27 -> place 28
//   card 4: 3698175007 * 134775813 + 1 = 498424543184705692, mod 2^32 = 870078620;
//           870078620 * 32 = 27842515840 -> 6 -> place 7
//   ... and so on; no place repeats before card 9.
// Place p goes to seat ((p - 1) mod 4) + 1: place 1 (card 1) to seat 1, place 2 (card 2) to seat 2,
// place 28 (card 3) to seat 4, place 7 (card 4) to seat 3. Each hand is then sorted ascending.
TEST(Deal, FirstDealOfAFixedSeed)
{
    RecordingOutbox outbox;
    FakeClock clock;
    Random random(0);
    GameEngine engine(outbox, clock, random);
    for (int n = 1; n <= 4; ++n)
        engine.seat(n).inuse = 1;
    engine.startgame(StartGame{"Host", "l"});
    std::vector<std::string> hands;
    for (const auto& sent : outbox.sent()) {
        if (sent.line.starts_with("CMD_mycards+"))
            hands.push_back(std::to_string(sent.slot) + ":" + sent.line);
    }
    EXPECT_THAT(hands, ElementsAre("1:CMD_mycards+1+1+1+2+5+3+16+4+20+5+22+6+23+7+25+8+32",
                                   "2:CMD_mycards+2+1+2+2+6+3+8+4+10+5+14+6+15+7+26+8+29",
                                   "3:CMD_mycards+3+1+4+2+7+3+11+4+13+5+17+6+18+7+24+8+27",
                                   "4:CMD_mycards+4+1+3+2+9+3+12+4+19+5+21+6+28+7+30+8+31"));
    EXPECT_EQ(engine.seat(4).cards[1], 3);
    EXPECT_EQ(engine.seat(3).cards[1], 4);
}

TEST(Deal, EveryDealHandsOutThePackInSortedHands)
{
    NullOutbox outbox;
    FakeClock clock;
    Random random(99);
    GameEngine engine(outbox, clock, random);
    engine.seat(1).inuse = 1;
    for (int game = 0; game < 200; ++game) {
        engine.startgame(StartGame{"Host", "l"});
        std::array<int, 33> seen{};
        for (int n = 1; n <= 4; ++n) {
            const auto& cards = engine.seat(n).cards;
            for (int slot = 1; slot <= 8; ++slot) {
                ASSERT_GE(cards[slot], 1);
                ++seen[cards[slot]];
                if (slot > 1) {
                    ASSERT_LT(cards[slot - 1], cards[slot]);
                }
            }
        }
        for (int card = 1; card <= 32; ++card)
            ASSERT_EQ(seen[card], 1) << card;
    }
}

} // namespace
