#include "lineframer.h"

#include "linequeue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace morlu;

namespace {

const std::string FF = "\xFF";

struct Framed {
    std::vector<std::string> lines;
    LineFramer::Status status = LineFramer::Status::Ok;
    std::size_t pending = 0;
};

/// Feeds @p reads one after the other, stopping at the first failure as the host does.
Framed frame(const std::vector<std::string>& reads)
{
    Framed result;
    LineFramer framer;
    for (const std::string& bytes : reads) {
        result.status = framer.feed(bytes, [&](std::string_view line) { result.lines.emplace_back(line); });
        if (result.status != LineFramer::Status::Ok)
            break;
    }
    result.pending = framer.pending();
    return result;
}

struct FrameRow {
    const char* name;
    std::vector<std::string> reads;
    std::vector<std::string> lines;
    std::size_t pending;
};

void PrintTo(const FrameRow& row, std::ostream* out)
{
    *out << row.name;
}

class FramerRows : public ::testing::TestWithParam<FrameRow> {};

TEST_P(FramerRows, CutsLinesAtTheEndByte)
{
    const FrameRow& row = GetParam();
    const Framed framed = frame(row.reads);
    EXPECT_EQ(framed.status, LineFramer::Status::Ok);
    EXPECT_EQ(framed.lines, row.lines);
    EXPECT_EQ(framed.pending, row.pending);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FramerRows,
    ::testing::Values(
        FrameRow{"TwoInOneRead",
                 {"CMD_starthand+" + FF + "CMD_nextplayer+2+" + FF},
                 {"CMD_starthand+", "CMD_nextplayer+2+"},
                 0},
        FrameRow{"SplitAcrossReads", {"CMD_placecard+3+2", "2+5+t+" + FF}, {"CMD_placecard+3+22+5+t+"}, 0},
        FrameRow{"SplitJustBeforeTheEndByte", {"CMD_full+", FF}, {"CMD_full+"}, 0},
        FrameRow{"OneByteAtATime", {"a", "+", "b", FF, "c"}, {"a+b"}, 1},
        FrameRow{
            "TailCompletedThenMoreLines", {"CMD_x", "+1" + FF + "CMD_y+" + FF + "CMD_z"}, {"CMD_x+1", "CMD_y+"}, 5},
        FrameRow{"NoEndByteYet", {"CMD_chat+1+hel", "lo"}, {}, 16},
        FrameRow{"EmptyLinesAreLines", {FF + FF + "CMD_full+" + FF}, {"", "", "CMD_full+"}, 0},
        FrameRow{"Utf8PassesThrough",
                 {"CMD_chat+1+\xC3\xA9t\xC3\xA9|clRed" + FF},
                 {"CMD_chat+1+\xC3\xA9t\xC3\xA9|clRed"},
                 0},
        FrameRow{"EmptyRead", {"", "CMD_full+" + FF, ""}, {"CMD_full+"}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineFramer, EndByteFloodGivesOneEmptyLineEach)
{
    const Framed framed = frame({std::string(5000, '\xFF'), std::string(3000, '\xFF')});
    EXPECT_EQ(framed.status, LineFramer::Status::Ok);
    ASSERT_EQ(framed.lines.size(), 8000u);
    EXPECT_EQ(framed.lines.front(), "");
    EXPECT_EQ(framed.pending, 0u);
}

// The limit: a line may hold exactly kMaxLine bytes, whether it arrives in one read or many.
TEST(LineFramer, LongestLineIsAccepted)
{
    const std::string longest(LineFramer::kMaxLine, 'x');
    for (const auto& reads :
         {std::vector<std::string>{longest + FF}, std::vector<std::string>{longest, FF},
          std::vector<std::string>{longest.substr(0, 100), longest.substr(100) + FF + "CMD_full+" + FF}}) {
        const Framed framed = frame(reads);
        EXPECT_EQ(framed.status, LineFramer::Status::Ok);
        ASSERT_GE(framed.lines.size(), 1u);
        EXPECT_EQ(framed.lines[0].size(), LineFramer::kMaxLine);
    }
}

TEST(LineFramer, OneByteOverTheLimitFailsBeforeBuffering)
{
    const std::string over(LineFramer::kMaxLine + 1, 'x');
    const std::string longest(LineFramer::kMaxLine, 'x');
    struct Row {
        const char* name;
        std::vector<std::string> reads;
        std::size_t linesBefore;
    };
    const Row rows[] = {
        {"TailAlone", {over}, 0},
        {"TailGrowsOverManyReads", {longest.substr(0, 40000), longest.substr(40000), "x"}, 0},
        {"CompleteLineInOneRead", {over + FF}, 0},
        {"AfterGoodLines", {"CMD_full+" + FF + "CMD_starthand+" + FF + over + FF + "CMD_winner+A+" + FF}, 2},
        {"CompletingATail", {"CMD_", over.substr(4) + FF}, 0},
        {"TailAfterLines", {"CMD_full+" + FF + over}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LineFramer framer;
        std::vector<std::string> lines;
        auto status = LineFramer::Status::Ok;
        for (const std::string& bytes : row.reads) {
            status = framer.feed(bytes, [&](std::string_view line) { lines.emplace_back(line); });
            if (status != LineFramer::Status::Ok)
                break;
        }
        EXPECT_EQ(status, LineFramer::Status::LineTooLong);
        EXPECT_EQ(lines.size(), row.linesBefore);
        EXPECT_TRUE(framer.failed());
        EXPECT_EQ(framer.pending(), 0u) << "nothing of the over-long line stays buffered";
        // Once failed, the connection is done: nothing more is handed out until reset().
        EXPECT_EQ(framer.feed("CMD_full+" + FF, [&](std::string_view line) { lines.emplace_back(line); }),
                  LineFramer::Status::LineTooLong);
        EXPECT_EQ(lines.size(), row.linesBefore);
        framer.reset();
        EXPECT_EQ(framer.feed("CMD_full+" + FF, [&](std::string_view line) { lines.emplace_back(line); }),
                  LineFramer::Status::Ok);
        EXPECT_EQ(lines.back(), "CMD_full+");
    }
}

TEST(LineFramer, DroppingOverlongLinesGoesOnAfterEach)
{
    const std::string over(LineFramer::kMaxLine + 1, 'x');
    const std::string longest(LineFramer::kMaxLine, 'x');
    struct Row {
        const char* name;
        std::vector<std::string> reads;
        std::vector<std::string> lines;
        int dropped; ///< reads that reported a dropped line
    };
    const Row rows[] = {
        {"WholeLineBetweenGoodOnes", {"CMD_a+" + FF + over + FF + "CMD_b+" + FF}, {"CMD_a+", "CMD_b+"}, 1},
        {"TailGrowsOverManyReads",
         {longest.substr(0, 40000), longest.substr(40000), "x", "yy" + FF + "CMD_b+" + FF},
         {"CMD_b+"},
         1},
        {"CompletingATail", {"CMD_", over.substr(4) + FF + "CMD_b+" + FF}, {"CMD_b+"}, 1},
        {"TwoInOneRead", {over + FF + over + FF + "CMD_b+" + FF}, {"CMD_b+"}, 1},
        {"LongestLineStillPasses", {longest + FF}, {longest}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LineFramer framer;
        framer.setDropOverlong(true);
        std::vector<std::string> lines;
        int dropped = 0;
        for (const std::string& bytes : row.reads) {
            const auto status = framer.feed(bytes, [&](std::string_view line) { lines.emplace_back(line); });
            EXPECT_NE(status, LineFramer::Status::LineTooLong);
            dropped += status == LineFramer::Status::LineDropped ? 1 : 0;
            EXPECT_LE(framer.pending(), LineFramer::kMaxLine);
        }
        EXPECT_EQ(lines, row.lines);
        EXPECT_EQ(dropped, row.dropped);
        EXPECT_FALSE(framer.failed());
    }
}

TEST(LineFramer, FeedsTheQueueUnderTheConnection)
{
    LineFramer first;
    LineFramer second;
    LineQueue queue;
    EXPECT_EQ(first.feed("CMD_playcard+1+", queue, 1), LineFramer::Status::Ok);
    EXPECT_EQ(second.feed("CMD_chat+2+hi|clRed" + FF, queue, 2), LineFramer::Status::Ok);
    EXPECT_EQ(first.feed("5+" + FF, queue, 1), LineFramer::Status::Ok);
    QueuedLine line;
    ASSERT_TRUE(queue.pop(line));
    EXPECT_EQ(line.connection, 2);
    EXPECT_EQ(line.text, "CMD_chat+2+hi|clRed");
    ASSERT_TRUE(queue.pop(line));
    EXPECT_EQ(line.connection, 1);
    EXPECT_EQ(line.text, "CMD_playcard+1+5+");
}

} // namespace
