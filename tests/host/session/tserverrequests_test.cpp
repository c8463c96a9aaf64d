#include "printers.h"
#include "sessionfixture.h"
#include "tserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

TEST_F(TServerTest, RelaysChatActionsAndSoundsToEveryone)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    const std::size_t fromAnn = ann.count();
    const std::size_t fromBob = bob.count();
    bob.send("CMD_chat+2+hello + welcome|$00FF0000");
    bob.send("CMD_action+2+says: Good luck!|clNavy");
    bob.send("CMD_playasound+2+wave7+");
    const Lines relayed{"CMD_chat+2+Bob chats: hello + welcome|$00FF0000", "CMD_action+2+Bob says: Good luck!|clNavy",
                        "CMD_playasound+2+wave7+"};
    ASSERT_TRUE(ann.waitFor(relayed.back()));
    ASSERT_TRUE(bob.waitFor(relayed.back()));
    EXPECT_EQ(ann.linesFrom(fromAnn), relayed);
    EXPECT_EQ(bob.linesFrom(fromBob), relayed);
}

TEST_F(TServerTest, RequestsNamingAnotherSlotAreIgnored)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    const std::size_t from = ann.count();
    bob.send("CMD_chat+1+I am Ann|clBlack");
    bob.send("CMD_action+1+waves|clBlack");
    bob.send("CMD_playasound+1+wave3+");
    bob.send("CMD_logininfo+1+1.0.5+Mallory");
    bob.send("CMD_logininfo+3+1.0.5+Ghost");
    bob.send("CMD_botspeed+1+5+");
    bob.send("CMD_justwatch+1+2");
    ASSERT_TRUE(flush(bob, ann));
    EXPECT_EQ(ann.linesFrom(from), Lines{"CMD_chat+2+Bob chats: marker|clBlack"});
    EXPECT_EQ(server.slot(1).name, "Ann");
    EXPECT_EQ(server.slot(3).inuse, 0);
    EXPECT_EQ(server.engine().botdelay(), 0);
}

TEST_F(TServerTest, OutOfRangeAndMalformedRequestsAreDroppedAndLogged)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    // Every error in a second of its own, so that none is held back as a repeat.
    qint64 now = 0;
    server.setClock([&now] { return now += 1000; });
    const std::size_t from = ann.count();
    for (const char* line : {"CMD_chat+0+x|clBlack",
                             "CMD_chat+10+x|clBlack",
                             "CMD_chat+-1+x|clBlack",
                             "CMD_chat+99999999999+x|clBlack",
                             "CMD_chat+abc+x|clBlack",
                             "CMD_action+2",
                             "CMD_playasound++wave1+",
                             "CMD_justwatch+5+2",
                             "CMD_justwatch+0+2",
                             "CMD_kickhim+2+x+",
                             "CMD_choosetype+2+9+",
                             "CMD_playcard+2+0+",
                             "CMD_playcard+q+1+",
                             "cmd_chat+2+x|clBlack",
                             "CMD_CHAT+2+x|clBlack",
                             "CMD_nosuch+2+",
                             "no plus at all",
                             "",
                             "+",
                             "CMD_logininfo+2"})
        bob.send(line);
    ann.send("CMD_kickhim+1+x+");
    ASSERT_TRUE(flush(ann, bob));
    ASSERT_TRUE(flush(bob, ann));
    EXPECT_EQ(ann.linesOf("CMD_chat", from),
              (Lines{"CMD_chat+1+Ann chats: marker|clBlack", "CMD_chat+2+Bob chats: marker|clBlack"}));
    EXPECT_TRUE(logged("'99999999999' is not a valid integer value"));
    EXPECT_TRUE(logged("'abc' is not a valid integer value"));
    EXPECT_TRUE(logged("'x' is not a valid integer value"));
    EXPECT_TRUE(logged("'q' is not a valid integer value"));
    EXPECT_EQ(server.slot(2).name, "Bob");
    EXPECT_FALSE(bob.closedByHost());
}

TEST_F(TServerTest, BotSpeedComesFromSlotOneOnly)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    ann.send("CMD_botspeed+1+1500+");
    ASSERT_TRUE(flush(ann, bob));
    EXPECT_EQ(server.engine().botdelay(), 1500);
    ann.send("CMD_botspeed+1+700"); // without the trailing plus the milliseconds do not read
    bob.send("CMD_botspeed+2+500+");
    ASSERT_TRUE(flush(ann, bob));
    ASSERT_TRUE(flush(bob, ann));
    EXPECT_EQ(server.engine().botdelay(), 1500);
    EXPECT_TRUE(logged("'' is not a valid integer value"));
    // The delay stays within 0..10 s, however long a table asks for.
    for (const auto& [sent, kept] : std::vector<std::pair<const char*, int>>{
             {"-5", 0}, {"20000", 10000}, {"2147483647", 10000}, {"10000", 10000}, {"0", 0}}) {
        ann.send(std::string("CMD_botspeed+1+") + sent + "+");
        ASSERT_TRUE(flush(ann, bob));
        EXPECT_EQ(server.engine().botdelay(), kept) << sent;
    }
}

TEST_F(TServerTest, BotLevelComesFromSlotOneOnly)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    struct Row {
        TestTable* from;
        const char* line;
        int seat;
        ComputerLevel expected;
    };
    const Row rows[] = {
        {&ann, "CMD_botlevel+3+expert+", 3, ComputerLevel::Expert},
        {&bob, "CMD_botlevel+3+classic+", 3, ComputerLevel::Expert}, // not slot 1
        {&bob, "CMD_botlevel+2+classic+", 3, ComputerLevel::Expert}, // not even for its own seat
        {&ann, "CMD_botlevel+3+Classic+", 3, ComputerLevel::Expert}, // levels are exact words
        {&ann, "CMD_botlevel+3+classic", 3, ComputerLevel::Expert},  // no level without its "+"
        {&ann, "CMD_botlevel+5+expert+", 2, ComputerLevel::Classic}, // spectator slots have no level
        {&ann, "CMD_botlevel+1+expert+", 1, ComputerLevel::Expert},  // the host player's own seat too
        {&ann, "CMD_botlevel+3+master+", 3, ComputerLevel::Master},
        {&ann, "CMD_botlevel+3+classic+", 3, ComputerLevel::Classic},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        row.from->send(row.line);
        ASSERT_TRUE(flush(*row.from, row.from == &ann ? bob : ann));
        EXPECT_EQ(server.engine().computerLevel(row.seat), row.expected);
    }
    EXPECT_EQ(server.engine().computerLevel(2), ComputerLevel::Classic);
    EXPECT_EQ(server.engine().computerLevel(4), ComputerLevel::Classic);
}

TEST_F(TServerTest, WatchingWithoutAGame)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    TestTable& cid = join("Cid");
    const std::size_t from = cid.count();
    bob.send("CMD_justwatch+2+1"); // no game: nothing
    bob.send("CMD_justwatch+2+2"); // not watching: announced all the same
    bob.send("CMD_justwatch+3+2"); // another seat, not from slot 1: ignored
    ann.send("CMD_justwatch+3+2"); // slot 1 may switch any seat
    ASSERT_TRUE(flush(bob, cid));
    ASSERT_TRUE(cid.waitFor("CMD_justwatching+3+2"));
    Lines watching = cid.linesOf("CMD_justwatching", from);
    std::sort(watching.begin(), watching.end()); // the two tables' lines may come in either order
    EXPECT_EQ(watching, (Lines{"CMD_justwatching+2+2", "CMD_justwatching+3+2"}));
    EXPECT_EQ(server.slot(2).justwatch, 0);
    (void)ann;
}

TEST_F(TServerTest, DispatchTimerRunsOnlyWhileLinesWait)
{
    TestTable& ann = join("Ann");
    ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == 0; }));
    EXPECT_FALSE(server.dispatching());
    server.setDispatchInterval(3600000);
    ann.send("CMD_chat+1+wait|clBlack");
    ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == 1; }));
    EXPECT_TRUE(server.dispatching());
    server.socktimerTimer();
    EXPECT_FALSE(server.dispatching());
    EXPECT_TRUE(ann.waitFor("CMD_chat+1+Ann chats: wait|clBlack"));
}

} // namespace
