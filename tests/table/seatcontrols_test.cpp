#include "seatcontrols.h"

#include "board.h"
#include "printers.h"
#include "tablerecorders.h"
#include "tablestate.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <functional>

using namespace morlu::test;

namespace {

class SeatControlsTest : public ::testing::Test {
protected:
    SeatControlsTest()
    {
        state.connected = true;
        state.myseat = 1;
        board.setSeatName(1, QStringLiteral("Hosty"));
        board.setSeatName(2, QStringLiteral("Bob"));
    }
    std::vector<std::string> sent() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : host.sent)
            lines.push_back(line.substr(0, line.size() - 1));
        return lines;
    }

    Board board;
    TableState state;
    HostRecorder host;
    SeatControls controls{board, state, host};
};

TEST_F(SeatControlsTest, ThePopupOnSeatsTwoToFourIsEnabledForTheHostPlayerOnly)
{
    EXPECT_NE(board.nameLabel(1)->contextMenuPolicy(), Qt::CustomContextMenu) << "the host's own seat opens no menu";
    for (int seat = 2; seat <= 4; ++seat)
        EXPECT_EQ(board.nameLabel(seat)->contextMenuPolicy(), Qt::CustomContextMenu) << seat;
    struct Row {
        int myseat;
        bool connected;
        int target;
        bool remove, watch;
    };
    // Seat 2 reads "Bob", seat 3 "<Waiting>".
    for (const Row& row :
         {Row{1, true, 2, true, true}, Row{1, true, 3, false, true}, Row{2, true, 3, false, false},
          Row{3, true, 2, false, false}, Row{6, true, 2, false, false}, Row{1, false, 2, false, false}}) {
        state.myseat = row.myseat;
        state.connected = row.connected;
        controls.label_playername1ContextPopup(row.target);
        EXPECT_EQ(controls.targetSeat(), row.target);
        EXPECT_EQ(controls.removeAction()->isEnabled(), row.remove) << row.myseat << " " << row.target;
        EXPECT_EQ(controls.setWatchAction()->isEnabled(), row.watch) << row.myseat << " " << row.target;
        EXPECT_EQ(controls.unsetWatchAction()->isEnabled(), row.watch) << row.myseat << " " << row.target;
    }
}

TEST_F(SeatControlsTest, EachEntrySendsItsRequestForTheTargetSeat)
{
    struct Row {
        const char* name;
        int myseat;
        bool connected;
        std::function<void(SeatControls&)> click;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"Remove", 1, true, &SeatControls::RemoveFromGame1Click, {"CMD_kickhim+1+3+"}},
        {"SetWatch", 1, true, &SeatControls::SettoJustWatch1Click, {"CMD_justwatch+3+1"}},
        {"UnsetWatch", 1, true, &SeatControls::UnsetJustWatch1Click, {"CMD_justwatch+3+2"}},
        {"RemoveNotHostPlayer", 2, true, &SeatControls::RemoveFromGame1Click, {}},
        {"RemoveUnconnected", 1, false, &SeatControls::RemoveFromGame1Click, {}},
        {"WatchUnconnected", 1, false, &SeatControls::SettoJustWatch1Click, {}},
        {"SpyListRemoval", 1, true, [](SeatControls& c) { c.kicking(7); }, {"CMD_kickhim+1+7+"}},
        {"SpyListNotHostPlayer", 2, true, [](SeatControls& c) { c.kicking(7); }, {}},
        {"NeverTheOwnSlot", 1, true, [](SeatControls& c) { c.kicking(1); }, {}},
    };
    for (const Row& row : rows) {
        host.sent.clear();
        state.myseat = 1;
        state.connected = true;
        controls.label_playername1ContextPopup(3);
        state.myseat = row.myseat;
        state.connected = row.connected;
        row.click(controls);
        EXPECT_EQ(sent(), row.lines) << row.name;
    }
}

TEST_F(SeatControlsTest, JustWatchFollowsTheHostsAnswer)
{
    state.myseat = 3;
    controls.JustWatch1Click();
    controls.JustWatch1Click(); // the host has not answered: still asking to watch
    controls.setWatching(true);
    controls.JustWatch1Click();
    state.myseat = 6;
    controls.JustWatch1Click(); // a spectator has no seat to hand over
    state.myseat = 3;
    state.connected = false;
    controls.JustWatch1Click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"CMD_justwatch+3+1", "CMD_justwatch+3+1", "CMD_justwatch+3+2"}));
}

} // namespace
