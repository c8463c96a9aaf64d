#include "board.h"
#include "fakeclock.h"
#include "fitlabel.h"
#include "gameengine.h"
#include "printers.h"
#include "standingspanel.h"
#include "tablemodel.h"
#include "watchedgame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace morlu;

/// One table watching the host: its model, its board and the standings on it. A table that joins late
/// hears nothing before the host's catch-up.
struct Table {
    Table(int slot, int joinRound) : slot(slot), joinRound(joinRound)
    {
        standings = new StandingsPanel(board, model);
        model.apply("CMD_sendlogininfo+" + std::to_string(slot));
        if (joinRound == 0)
            greet();
    }
    void greet() { model.apply("CMD_newplayerinfo+1+Ann"); }
    void hear(std::string_view line)
    {
        if (!line.empty() && line.back() == '\xff')
            line.remove_suffix(1);
        if (joined)
            model.apply(line);
    }

    int slot;
    int joinRound; ///< 0: there from the start
    bool joined = joinRound == 0;
    TableModel model;
    Board board;
    StandingsPanel* standings = nullptr;
};

class TablesOutbox : public Outbox {
public:
    void toSlot(int slot, std::string_view line) override
    {
        for (auto& table : tables)
            if (table->slot == slot)
                table->hear(line);
    }
    void toAll(std::string_view line) override
    {
        for (auto& table : tables)
            table->hear(line);
    }
    std::vector<std::unique_ptr<Table>> tables;
};

QString text(const StandingsPanel& panel, int seat, StandingsPanel::Column column)
{
    return panel.cell(seat, column)->text();
}

// Whole computer games seen by a player at seat 1, a spectator there from the start and a spectator who
// came in during a later round: once the winner is named each table's standings hold the host's banks
// and the model's counts, mark the winners and the own seat, and go away with the winner text or when
// the next game starts.
TEST(StandingsPanel, ShowsTheHostsFinalStandingsOnEveryTable)
{
    struct Row {
        std::uint32_t seed;
        std::string length;
        int lateRound; ///< the round the late spectator comes in at
    };
    for (const Row& row : {Row{7, "s", 3}, Row{42, "h", 9}, Row{1234, "l", 2}}) {
        SCOPED_TRACE(row.seed);
        TablesOutbox outbox;
        for (const auto& [slot, joinRound] : {std::pair{1, 0}, std::pair{5, 0}, std::pair{6, row.lateRound}})
            outbox.tables.push_back(std::make_unique<Table>(slot, joinRound));
        Table& player = *outbox.tables[0];
        Table& late = *outbox.tables[2];
        test::FakeClock clock;
        Random random(row.seed);
        GameEngine engine(outbox, clock, random);
        test::startWatchedGame(engine, clock, row.length);
        int steps = 0;
        do {
            const GameState& s = engine.state();
            // The late table comes in once the contract of its round is chosen.
            if (!late.joined && s.contractnumber == row.lateRound && s.chooserseat == 0) {
                late.joined = true;
                late.greet();
                engine.catchUp(late.slot);
            }
            for (const auto& table : outbox.tables) {
                if (table->joined) {
                    ASSERT_EQ(table->standings->isVisibleTo(&table->board), !s.gamerunning) << "slot " << table->slot;
                }
            }
        } while (clock.fireNext() && ++steps < 200000);
        ASSERT_FALSE(engine.gamerunning());
        ASSERT_TRUE(late.joined);

        int best = engine.seat(1).bank;
        for (int seat = 2; seat <= kSeatCount; ++seat)
            best = std::max(best, engine.seat(seat).bank);
        for (const auto& table : outbox.tables) {
            SCOPED_TRACE(table->slot);
            const StandingsPanel& panel = *table->standings;
            ASSERT_TRUE(panel.isVisibleTo(&table->board));
            for (int seat = 1; seat <= kSeatCount; ++seat) {
                SCOPED_TRACE(seat);
                const TableModel::Seat& held = table->model.seat(seat);
                const int bank = engine.seat(seat).bank;
                EXPECT_EQ(text(panel, seat, StandingsPanel::NameColumn), table->model.seatName(seat));
                EXPECT_EQ(text(panel, seat, StandingsPanel::BankColumn), QStringLiteral("$%1").arg(bank));
                EXPECT_EQ(text(panel, seat, StandingsPanel::ChangeColumn),
                          StandingsPanel::signedText(bank - kStartingBank));
                EXPECT_EQ(text(panel, seat, StandingsPanel::RoundsColumn), QString::number(held.roundsWon));
                // The choice passes round the table: every seat directs the same share of the game.
                EXPECT_EQ(text(panel, seat, StandingsPanel::DirectedColumn),
                          QString::number(engine.state().contracttotal / kSeatCount));
                EXPECT_LE(held.roundsWon, player.model.seat(seat).roundsWon);
                if (table->joinRound == 0) {
                    EXPECT_EQ(held.roundsWon, player.model.seat(seat).roundsWon);
                }
                const QString spoken = panel.row(seat)->accessibleName();
                EXPECT_EQ(spoken.contains(QStringLiteral("winner")), bank == best) << qPrintable(spoken);
                EXPECT_EQ(text(panel, seat, StandingsPanel::SeatColumn).size() > 1, bank == best);
                EXPECT_EQ(spoken.contains(QStringLiteral("your seat")), seat == table->slot) << qPrintable(spoken);
                EXPECT_TRUE(spoken.contains(table->model.seatName(seat))) << qPrintable(spoken);
            }
            EXPECT_EQ(panel.footnote().isEmpty(), table->joinRound == 0) << qPrintable(panel.footnote());
        }

        // Closing the winner text (Esc) closes the standings with it; a new game closes them everywhere.
        player.board.winnerPanel()->show();
        player.board.winnerPanel()->hide();
        EXPECT_FALSE(player.standings->isVisibleTo(&player.board));
        engine.startgame(StartGame{"Ann", row.length});
        for (const auto& table : outbox.tables)
            EXPECT_FALSE(table->standings->isVisibleTo(&table->board)) << "slot " << table->slot;
    }
}

} // namespace
