#include "fakeclock.h"
#include "gameengine.h"
#include "tablemodel.h"
#include "watchedgame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace morlu;

// Whole games of computer players, seen by the table in seat 1 (which only watches): after every step
// of the host, the model's hand, banks, turn and DOMINO layout are the host's own.
TEST(TableModelProperty, FollowsTheHostThroughWholeRandomGames)
{
    struct Row {
        std::uint32_t seed;
        std::string length;
    };
    for (const Row& row : {Row{1, "l"}, Row{7, "s"}, Row{42, "h"}, Row{1234, "l"}, Row{99991, "l"}, Row{31337, "s"}}) {
        SCOPED_TRACE(row.seed);
        TableModel model;
        int lines = 0;
        test::SlotOneOutbox outbox([&](std::string_view line) {
            model.apply(line);
            ++lines;
        });
        test::FakeClock clock;
        Random random(row.seed);
        GameEngine engine(outbox, clock, random);
        model.apply("CMD_sendlogininfo+1");
        model.apply("CMD_newplayerinfo+1+Ann");
        test::startWatchedGame(engine, clock, row.length);

        int steps = 0;
        int dominoChecks = 0;
        do {
            const GameState& s = engine.state();
            for (int slot = 1; slot <= kHandSlots; ++slot)
                ASSERT_EQ(model.hand()[std::size_t(slot)], engine.seat(1).cards[std::size_t(slot)])
                    << "slot " << slot << " at step " << steps;
            for (int seat = 1; seat <= kSeatCount; ++seat)
                ASSERT_EQ(model.seat(seat).bank, engine.seat(seat).bank) << "seat " << seat << " at step " << steps;
            ASSERT_EQ(model.contracttotal(), s.contracttotal);
            if (s.gamerunning) {
                ASSERT_EQ(model.round(), s.contractnumber);
                ASSERT_EQ(model.chooser(), s.chooserseat);
            }
            if (s.gamerunning && s.playopen && s.chooserseat == 0) {
                ASSERT_EQ(model.turn(), s.turnseat) << "at step " << steps;
            }
            if (s.gamerunning && s.contract == Domino && s.chooserseat == 0) {
                ASSERT_EQ(model.dominoStart(), s.domino.dominostart());
                for (int suit = 1; suit <= 4; ++suit)
                    for (int rank = 1; rank <= 8; ++rank)
                        ASSERT_EQ(model.layout().laid[std::size_t(suit)][std::size_t(rank)], s.domino.laid(suit, rank))
                            << "suit " << suit << " rank " << rank << " at step " << steps;
                ++dominoChecks;
            }
            ++steps;
        } while (clock.fireNext() && steps < 200000);
        EXPECT_FALSE(engine.gamerunning());
        EXPECT_FALSE(model.gamerunning());
        EXPECT_FALSE(model.winner().isEmpty());
        EXPECT_GT(dominoChecks, 0);
        EXPECT_GT(lines, 100);
    }
}

} // namespace
