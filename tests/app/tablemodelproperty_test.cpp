#include "fakeclock.h"
#include "gameengine.h"
#include "tablemodel.h"
#include "watchedgame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// Tables that come back to seat 1 at every step of the DOMINO rounds of whole games: with the host's
// layout word after the catch-up, each holds the watching table's layout, card counts and passes from
// then on; from the catch-up alone (an older host) it does not.
TEST(TableModelProperty, TableBackInADominoRoundHoldsWhatAWatchingTableHolds)
{
    const struct {
        const char* what;
        bool layoutWord;
        bool same;
    } rows[] = {
        {"told the layout", true, true},
        {"from the catch-up alone", false, false},
    };
    for (const auto& row : rows) {
        for (const std::uint32_t seed : {1u, 7u, 42u}) {
            SCOPED_TRACE(std::string(row.what) + ", seed " + std::to_string(seed));
            TableModel watcher;
            std::vector<std::unique_ptr<TableModel>> returners;
            TableModel* catchingUp = nullptr;
            test::SlotOneOutbox outbox([&](std::string_view line) {
                if (catchingUp != nullptr) {
                    catchingUp->apply(line);
                    return;
                }
                watcher.apply(line);
                for (const auto& returner : returners)
                    returner->apply(line);
            });
            test::FakeClock clock;
            Random random(seed);
            GameEngine engine(outbox, clock, random);
            watcher.apply("CMD_sendlogininfo+1");
            watcher.apply("CMD_newplayerinfo+1+Ann");
            test::startWatchedGame(engine, clock, "s");

            int compared = 0;
            int differing = 0;
            int steps = 0;
            do {
                const std::optional<DLayout> layout = engine.dominoLayout();
                if (!layout) {
                    returners.clear();
                    continue;
                }
                // Who passed is told as it happens: a table just back has heard no pass yet.
                const auto compare = [&](const TableModel& back, bool passes) {
                    // std::ranges::equal: QList's own == hands memcmp a null pointer for an empty list.
                    bool same = back.dominoStart() == watcher.dominoStart() &&
                                (!passes || std::ranges::equal(back.passed(), watcher.passed()));
                    for (int n = 1; n <= kSeatCount; ++n)
                        same = same && back.foundationTop(n) == watcher.foundationTop(n) &&
                               back.layout().laid[std::size_t(n)] == watcher.layout().laid[std::size_t(n)] &&
                               back.seat(n).cardsLeft == watcher.seat(n).cardsLeft;
                    ++compared;
                    differing += same ? 0 : 1;
                };
                for (const auto& back : returners)
                    compare(*back, true);
                auto returner = std::make_unique<TableModel>();
                returner->apply("CMD_sendlogininfo+1");
                returner->apply("CMD_newplayerinfo+1+Ann");
                catchingUp = returner.get();
                engine.catchUp(1);
                catchingUp = nullptr;
                if (row.layoutWord) {
                    std::string buffer;
                    std::string_view line = layout->write(buffer);
                    line.remove_suffix(1);
                    returner->apply(line);
                }
                compare(*returner, false);
                returners.push_back(std::move(returner));
            } while (++steps < 200000 && clock.fireNext());
            EXPECT_FALSE(engine.gamerunning());
            EXPECT_GT(compared, 100);
            if (row.same)
                EXPECT_EQ(differing, 0) << "of " << compared;
            else
                EXPECT_GT(differing, 0);
        }
    }
}

} // namespace
