#include "fairlinequeue.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace morlu;

namespace {

using Arrivals = std::vector<std::pair<int, std::string>>;

/// Every line the queue hands out, in order, as "connection:text".
std::vector<std::string> drain(FairLineQueue& queue)
{
    std::vector<std::string> out;
    QueuedLine line;
    while (queue.pop(line))
        out.push_back(std::to_string(line.connection) + ":" + line.text);
    return out;
}

TEST(FairLineQueue, ServesConnectionsInTurnAndEachInArrivalOrder)
{
    struct Row {
        const char* name;
        Arrivals arrivals;
        std::vector<std::string> served;
    };
    const std::vector<Row> rows{
        {"one connection keeps its order", {{1, "a"}, {1, "b"}, {1, "c"}}, {"1:a", "1:b", "1:c"}},
        {"a flood does not hold back a later request",
         {{2, "f1"}, {2, "f2"}, {2, "f3"}, {2, "f4"}, {1, "mine"}},
         {"2:f1", "1:mine", "2:f2", "2:f3", "2:f4"}},
        {"three in turn",
         {{1, "a1"}, {1, "a2"}, {2, "b1"}, {3, "c1"}, {3, "c2"}},
         {"1:a1", "2:b1", "3:c1", "1:a2", "3:c2"}},
        {"empty lines are lines", {{1, ""}, {2, "x"}}, {"1:", "2:x"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FairLineQueue queue;
        for (const auto& [connection, text] : row.arrivals)
            queue.push(connection, text);
        EXPECT_EQ(queue.size(), row.arrivals.size());
        EXPECT_EQ(drain(queue), row.served);
        EXPECT_TRUE(queue.empty());
        EXPECT_EQ(queue.bytes(), 0u);
        EXPECT_EQ(queue.connections(), 0u) << "nothing is kept for connections without lines";
    }
}

TEST(FairLineQueue, DroppingAConnectionLeavesTheOthersInTheirTurn)
{
    FairLineQueue queue;
    for (const auto& [connection, text] : Arrivals{{1, "a1"}, {2, "bb1"}, {3, "c1"}, {2, "bb2"}, {1, "a2"}})
        queue.push(connection, text);
    EXPECT_EQ(queue.bytesFrom(2), 6u);
    EXPECT_EQ(queue.drop(2), 2u);
    EXPECT_EQ(queue.drop(2), 0u);
    EXPECT_EQ(queue.waitingFrom(2), 0u);
    EXPECT_EQ(queue.bytes(), 6u);
    EXPECT_EQ(drain(queue), (std::vector<std::string>{"1:a1", "3:c1", "1:a2"}));
}

} // namespace
