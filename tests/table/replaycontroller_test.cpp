#include "replaycontroller.h"

#include "gamerecord.h"
#include "printers.h"
#include "replayrig.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace morlu::test;

// Every way of moving, from a position, lands where the key map says, and the round and trick shown
// there follow the record.
TEST(ReplayController, MovesByLineTrickAndRound)
{
    enum Move { Step, Back, NextTrick, PrevTrick, NextRound, PrevRound, Start, End, Seek };
    struct Row {
        int from;
        Move move;
        int to;
        int round;
        int trick;
    };
    const Row rows[] = {
        {0, Step, 1, 0, 0},        {0, Back, 0, 0, 0},       {3, Step, 4, 1, 0},        {5, Back, 4, 1, 0},
        {0, NextTrick, 5, 1, 1},   {5, NextTrick, 9, 1, 2},  {7, NextTrick, 9, 1, 2},   {9, NextTrick, 14, 2, 1},
        {14, NextTrick, 16, 2, 1}, {9, PrevTrick, 5, 1, 1},  {10, PrevTrick, 9, 1, 2},  {5, PrevTrick, 0, 0, 0},
        {0, NextRound, 2, 1, 0},   {2, NextRound, 12, 2, 0}, {12, NextRound, 16, 2, 1}, {13, PrevRound, 12, 2, 0},
        {12, PrevRound, 2, 1, 0},  {2, PrevRound, 0, 0, 0},  {8, Start, 0, 0, 0},       {3, End, 16, 2, 1},
        {4, Seek, 99, 2, 1},       {4, Seek, -3, 0, 0},      {16, Step, 16, 2, 1},      {11, Seek, 11, 1, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.from << " move " << row.move);
        Rig rig;
        rig.controller.seek(row.from);
        ReplayController& c = rig.controller;
        switch (row.move) {
        case Step:
            c.step(1);
            break;
        case Back:
            c.step(-1);
            break;
        case NextTrick:
            c.nextTrick();
            break;
        case PrevTrick:
            c.previousTrick();
            break;
        case NextRound:
            c.nextRound();
            break;
        case PrevRound:
            c.previousRound();
            break;
        case Start:
            c.toStart();
            break;
        case End:
            c.toEnd();
            break;
        case Seek:
            c.seek(row.to);
            break;
        }
        const int expected = row.move == Seek ? std::clamp(row.to, 0, 16) : row.to;
        EXPECT_EQ(c.position(), expected);
        EXPECT_EQ(c.round(), row.round);
        EXPECT_EQ(c.trick(), row.trick);
    }
}

// Whatever the moves, the table holds exactly the record's first lines up to the position; going back
// rebuilds from a reset in one batch, one line on is handed over as it happened, longer jumps are batches.
TEST(ReplayController, TheTableAlwaysHoldsTheLinesUpToThePosition)
{
    Rig rig;
    const auto& lines = rig.controller.record().lines;
    std::mt19937 random(2026);
    for (int move = 0; move < 300; ++move) {
        const int from = rig.controller.position();
        const int resets = rig.target.resets;
        const int batches = rig.target.batches;
        const int single = rig.target.linesOutsideBatches;
        const int to = int(random() % 18) - 1;
        rig.controller.seek(to);
        const int at = rig.controller.position();
        ASSERT_EQ(at, std::clamp(to, 0, 16));
        ASSERT_EQ(int(rig.target.held.size()), at);
        for (int n = 0; n < at; ++n)
            ASSERT_EQ(rig.target.held[std::size_t(n)], lines[std::size_t(n)].text);
        ASSERT_EQ(rig.target.depth, 0);
        EXPECT_EQ(rig.target.resets - resets, at < from ? 1 : 0) << from << " -> " << at;
        EXPECT_EQ(rig.target.linesOutsideBatches - single, at == from + 1 ? 1 : 0) << from << " -> " << at;
        EXPECT_EQ(rig.target.batches - batches, at == from || at == from + 1 ? 0 : 1) << from << " -> " << at;
    }
}

// Playing arms the single-shot timer for the recorded pause before the next line, divided by the speed and
// capped; each firing hands over one line; the end or a pause stops it, and nothing stays armed.
TEST(ReplayController, PlaysAtTheRecordedPaceAndSpeed)
{
    struct Row {
        int from;
        std::size_t speed;
        int firings;
        std::vector<int> armed;
        int endsAt;
        bool stillPlaying;
    };
    const Row rows[] = {
        {0, 1, 3, {1000, 1000, 1000, 1000}, 3, true},
        {0, 0, 1, {2000, 2000}, 1, true},
        {0, 4, 2, {125, 125, 125}, 2, true},
        // 9000 ms before the second round: capped at 1x, 9000 / 4 = 2250 at 4x.
        {10, 1, 2, {1000, ReplayController::kMaxPauseMs, 1000}, 12, true},
        {10, 3, 1, {250, 2250}, 11, true},
        {14, 1, 5, {1000, 1000}, 16, false},
        // At the end, play starts again from the start.
        {16, 1, 0, {1000}, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.from << " speed " << row.speed);
        Rig rig;
        rig.controller.setSpeedIndex(row.speed);
        rig.controller.seek(row.from);
        rig.controller.play();
        for (int n = 0; n < row.firings && rig.running; ++n) {
            rig.running = false;
            rig.controller.timerFired();
        }
        EXPECT_EQ(rig.armed, row.armed);
        EXPECT_EQ(rig.controller.position(), row.endsAt);
        EXPECT_EQ(rig.controller.playing(), row.stillPlaying);
        EXPECT_EQ(rig.running, row.stillPlaying);
        rig.controller.pause();
        EXPECT_FALSE(rig.running);
        // A firing that comes after the pause does nothing.
        rig.controller.timerFired();
        EXPECT_EQ(rig.controller.position(), row.endsAt);
    }
}

// A damaged record replays up to the line that could not be read and says which line it was; an older
// record (no header lines, no winner) replays whole without a word; a file that is no record has no lines.
TEST(ReplayController, SaysWhichLineOfADamagedRecordStoppedIt)
{
    struct Row {
        const char* what;
        QByteArray file;
        int lines;
        QString problem;
    };
    const QByteArray head = "# Morlu game record 1\n# seat: 1\n# name: Ann\n";
    const Row rows[] = {
        {"whole", head + "0 CMD_startgame+Ann+s+\n10 CMD_startround+1+1+\n", 2, QString()},
        {"older, without headers",
         "# Morlu game record 1\n0 CMD_startgame+Ann+s+\n5 CMD_startround+1+1+\n# unfinished\n", 2, QString()},
        {"a line without its time", head + "0 CMD_startgame+Ann+s+\nCMD_startround+1+1+\n20 CMD_starthand+\n", 1,
         "Line 5 of the record could not be read: a damaged line. The replay ends before it."},
        {"a broken escape", head + "0 CMD_startgame+Ann+s+\n10 CMD_startround+1+1+\n20 CMD_chat+a\\q|clBlack\n", 2,
         "Line 6 of the record could not be read: a damaged line. The replay ends before it."},
        {"another version", "# Morlu game record 7\n0 CMD_startgame+Ann+s+\n", 0,
         "Line 1 of the record could not be read: not a game record (its first line is not \"# Morlu game record "
         "1\"). The replay ends before it."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Rig rig(morlu::parseGameRecord(row.file));
        EXPECT_EQ(rig.controller.lineCount(), row.lines);
        EXPECT_EQ(rig.controller.problem(), row.problem);
        rig.controller.toEnd();
        EXPECT_EQ(int(rig.target.held.size()), row.lines);
    }
}

} // namespace
