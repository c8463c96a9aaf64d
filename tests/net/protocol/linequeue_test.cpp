#include "linequeue.h"

#include <gtest/gtest.h>

#include <string>

using namespace morlu;

TEST(LineQueue, FirstInFirstOutAcrossConnections)
{
    LineQueue queue;
    EXPECT_TRUE(queue.empty());
    queue.push(2, "CMD_playcard+2+1+");
    queue.push(1, "CMD_startgame+You+h+");
    queue.push(2, "CMD_chat+2+hi|clRed");
    EXPECT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue.front().text, "CMD_playcard+2+1+");

    QueuedLine line;
    const std::pair<int, const char*> expected[] = {
        {2, "CMD_playcard+2+1+"}, {1, "CMD_startgame+You+h+"}, {2, "CMD_chat+2+hi|clRed"}};
    for (const auto& [connection, text] : expected) {
        ASSERT_TRUE(queue.pop(line));
        EXPECT_EQ(line.connection, connection);
        EXPECT_EQ(line.text, text);
    }
    EXPECT_TRUE(queue.empty());
    line.text = "untouched";
    EXPECT_FALSE(queue.pop(line));
    EXPECT_EQ(line.text, "untouched");
}

TEST(LineQueue, CountsWaitingLinesPerConnection)
{
    LineQueue queue;
    for (int i = 0; i < 1025; ++i)
        queue.push(3, "CMD_chat+3+spam|clRed");
    queue.push(1, "CMD_playcard+1+1+");
    queue.push(3, "");
    EXPECT_EQ(queue.waitingFrom(3), 1026u);
    EXPECT_EQ(queue.waitingFrom(1), 1u);
    EXPECT_EQ(queue.waitingFrom(7), 0u);

    QueuedLine line;
    for (int i = 0; i < 1025; ++i)
        queue.pop(line);
    EXPECT_EQ(queue.waitingFrom(3), 1u);
    queue.pop(line);
    EXPECT_EQ(line.connection, 1);
    EXPECT_EQ(queue.waitingFrom(1), 0u);
    queue.clear();
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(queue.waitingFrom(3), 0u);
}

// Interleaved pushes and pops wrap the ring and make it grow while it wraps; order must survive.
TEST(LineQueue, KeepsOrderWhileTheRingWrapsAndGrows)
{
    LineQueue queue;
    QueuedLine line;
    int next = 0;
    int expected = 0;
    for (int round = 0; round < 200; ++round) {
        for (int i = 0; i < 3; ++i, ++next)
            queue.push(next % 4, "line " + std::to_string(next));
        ASSERT_TRUE(queue.pop(line));
        EXPECT_EQ(line.text, "line " + std::to_string(expected));
        EXPECT_EQ(line.connection, expected % 4);
        ++expected;
    }
    EXPECT_EQ(queue.size(), 400u);
    EXPECT_EQ(queue.waitingFrom(0) + queue.waitingFrom(1) + queue.waitingFrom(2) + queue.waitingFrom(3), 400u);
    while (queue.pop(line))
        EXPECT_EQ(line.text, "line " + std::to_string(expected++));
    EXPECT_EQ(expected, next);
}
