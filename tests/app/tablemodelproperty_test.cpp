#include "fakeclock.h"
#include "gameengine.h"
#include "tablemodel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace morlu;

/// Hands the model every line the host sends to slot 1, as that table's link would.
class ModelOutbox : public Outbox {
public:
    explicit ModelOutbox(TableModel& model) : m_model(model) {}
    void toSlot(int slot, std::string_view line) override
    {
        if (slot == 1)
            toAll(line);
    }
    void toAll(std::string_view line) override
    {
        if (!line.empty() && line.back() == '\xff')
            line.remove_suffix(1);
        m_model.apply(line);
        ++lines;
    }
    int lines = 0;

private:
    TableModel& m_model;
};

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
        ModelOutbox outbox(model);
        test::FakeClock clock;
        Random random(row.seed);
        GameEngine engine(outbox, clock, random);
        clock.setHandler([&](TimerId id) { engine.timerFired(id); });
        engine.setBotdelay(0);
        model.apply("CMD_sendlogininfo+1");
        engine.seat(1).inuse = 1;
        engine.seat(1).name = "Ann";
        model.apply("CMD_newplayerinfo+1+Ann");
        engine.startgame(StartGame{"Ann", row.length});
        // The table in seat 1 only watches: the computer plays its seat, the table still gets its hand.
        engine.seat(1).justwatch = 1;
        engine.computerTakesOver(1);

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
        EXPECT_GT(outbox.lines, 100);
    }
}

} // namespace
