// Coming back after a dropped connection: seat keys and rejoins, in every order tables come back in.
// Tables connect in memory.

#include "commands.h"
#include "printers.h"
#include "rejoinfixture.h"
#include "sessionfixture.h"
#include "sessionmessages.h"
#include "tserver.h"

#include <gtest/gtest.h>

#include <map>

using namespace morlu;
using namespace morlu::test;

// Whatever order dropped tables come back in, each gets its own seat, cards and all; a spectator
// offered a free player seat goes back to watching.
TEST_F(RejoinTest, DroppedTablesComeBackToTheirOwnSlots)
{
    const struct {
        const char* what;
        std::vector<int> dropped; ///< in the order they drop
        std::vector<int> back;    ///< in the order they come back
    } rows[] = {
        {"Carl comes back first", {2, 3}, {3, 2}},
        {"Bob comes back first", {3, 2}, {2, 3}},
        {"the spectator comes back while seat 2 is free", {2, 5}, {5, 2}},
    };
    const std::map<int, std::string> names = {{1, "Ann"}, {2, "Bob"}, {3, "Carl"}, {4, "Dee"}, {5, "Eve"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TestHost other(Transport::Memory);
        other.server.setLogger([](const QString&) {});
        std::map<int, TestTable*> tables;
        std::map<int, std::string> keys;
        for (const auto& [slot, name] : names) {
            TestTable& table = other.connect();
            ASSERT_TRUE(table.login(name));
            ASSERT_EQ(table.slot(), slot);
            tables[slot] = &table;
            if (slot != 1)
                keys[slot] = askKey(table);
        }
        tables[1]->send("CMD_botspeed+1+10000+");
        tables[1]->send("CMD_startgame+Ann+s+");
        ASSERT_TRUE(tables[3]->waitForWord(CMD_mycards));
        std::map<int, std::string> hands;
        for (int seat = 2; seat <= 4; ++seat) {
            ASSERT_TRUE(tables[seat]->waitForWord(CMD_mycards));
            hands[seat] = tables[seat]->linesOf(CMD_mycards).back();
        }

        for (const int slot : row.dropped) {
            tables[slot]->reset();
            ASSERT_TRUE(waitUntil([&] { return other.server.slot(slot).inuse == 0; }));
        }
        for (const int slot : row.back) {
            TestTable& table = other.connect();
            const std::size_t annSeen = tables[1]->count();
            int lowestFree = 1;
            while (other.server.slot(lowestFree).inuse == 1)
                ++lowestFree;
            const int offered = table.waitSlot();
            ASSERT_EQ(offered, lowestFree) << "as for everybody else";
            const std::size_t from = table.count();
            table.send("CMD_rejoin+" + std::to_string(offered) + "+" + keys[slot] + "+");
            ASSERT_TRUE(table.waitFor("CMD_sendlogininfo+" + std::to_string(slot), from));
            ASSERT_TRUE(table.login(names.at(slot)));
            EXPECT_EQ(other.server.slot(slot).name, names.at(slot));
            if (slot <= 4) {
                ASSERT_TRUE(table.waitForWord(CMD_mycards));
                EXPECT_EQ(table.linesOf(CMD_mycards).back(), hands[slot]) << "its own hand, not another's";
            } else {
                ASSERT_TRUE(table.waitForWord(CMD_agame));
                EXPECT_TRUE(table.linesOf(CMD_mycards).empty());
            }
            EXPECT_TRUE(
                tables[1]->waitFor("CMD_newplayerinfo+" + std::to_string(slot) + "+" + names.at(slot), annSeen));
        }
        // The others hear each table come back to its own slot, never of a slot it was only offered.
        for (const std::string& line : tables[1]->linesOf(CMD_newplayerinfo)) {
            const NewPlayerInfo arrival = NewPlayerInfo::read(splitCommand(line).rest);
            EXPECT_EQ(arrival.name, names.at(arrival.slot)) << line;
        }
        EXPECT_TRUE(tables[1]->linesOf(CMD_seatkey).empty());
    }
}

struct KeyRow {
    const char* name;
    /// Returns the key a returning table presents, once seat 2 (Bob's) is free again.
    std::string (*setup)(RejoinTest& test, TestTable& ann, TestTable& bob);
};

void PrintTo(const KeyRow& row, std::ostream* os)
{
    *os << row.name;
}

class StaleKeyTest : public RejoinTest, public ::testing::WithParamInterface<KeyRow> {};

const KeyRow kStaleKeys[] = {
    {"forged",
     [](RejoinTest& t, TestTable&, TestTable& bob) {
         RejoinTest::askKey(bob);
         t.drop(bob);
         return std::string("0123456789abcdef0123456789abcdef");
     }},
    {"not_a_key",
     [](RejoinTest& t, TestTable&, TestTable& bob) {
         RejoinTest::askKey(bob);
         t.drop(bob);
         return std::string("CMD_kickhim");
     }},
    {"replaced_by_asking_again",
     [](RejoinTest& t, TestTable&, TestTable& bob) {
         const std::string first = RejoinTest::askKey(bob);
         EXPECT_NE(RejoinTest::askKey(bob), first);
         t.drop(bob);
         return first;
     }},
    {"already_used",
     [](RejoinTest& t, TestTable&, TestTable& bob) {
         const std::string key = RejoinTest::askKey(bob);
         t.drop(bob);
         TestTable& back = t.rejoin(key);
         EXPECT_EQ(back.slot(), 2);
         EXPECT_TRUE(back.login("Bob"));
         t.drop(back);
         return key;
     }},
    {"of_a_removed_table",
     [](RejoinTest& t, TestTable& ann, TestTable& bob) {
         const std::string key = RejoinTest::askKey(bob);
         ann.send("CMD_kickhim+1+2+");
         EXPECT_TRUE(bob.waitClosed());
         EXPECT_TRUE(t.waitFree(2));
         return key;
     }},
    {"of_a_slot_another_table_logged_in_to",
     [](RejoinTest& t, TestTable&, TestTable& bob) {
         const std::string key = RejoinTest::askKey(bob);
         t.drop(bob);
         TestTable& dan = t.join("Dan");
         EXPECT_EQ(dan.slot(), 2);
         t.drop(dan);
         return key;
     }},
};

INSTANTIATE_TEST_SUITE_P(Keys, StaleKeyTest, ::testing::ValuesIn(kStaleKeys),
                         [](const ::testing::TestParamInfo<KeyRow>& info) { return std::string(info.param.name); });

// A key that is not live gets the offered slot again, and the table logs in there as a newcomer.
TEST_P(StaleKeyTest, LeavesTheTableWhereItWasOffered)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    TestTable& cid = join("Cid");
    const std::string key = GetParam().setup(*this, ann, bob);
    ASSERT_FALSE(HasFailure());

    TestTable& back = rejoin(key);
    EXPECT_EQ(back.slot(), 2);
    ASSERT_TRUE(back.login("Bob"));
    EXPECT_EQ(server.slot(2).name, "Bob");
    EXPECT_EQ(server.slot(3).name, "Cid");
    EXPECT_FALSE(cid.closedByHost());
}
// A table can be back before the host noticed that its old connection died without a word: the key
// proves it is the same table, so the old connection goes as if it had closed and the seat is its own.
TEST_F(RejoinTest, TableBackBeforeItsDropWasNoticedTakesItsSeatBack)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    const std::string key = askKey(bob);
    TestTable& back = rejoin(key);
    EXPECT_EQ(back.slot(), 2);
    EXPECT_TRUE(bob.waitClosed());
    EXPECT_TRUE(ann.waitFor("CMD_playerdisconnected+2+Bob"));
    ASSERT_TRUE(back.login("Bob"));
    EXPECT_EQ(server.slot(3).inuse, 0) << "the slot it was offered is free again";

    // A newcomer that is offered the seat but has not logged in yet keeps it.
    const std::string again = askKey(back);
    back.reset();
    ASSERT_TRUE(waitFree(2));
    TestTable& dan = open();
    ASSERT_EQ(dan.slot(), 2);
    TestTable& late = open();
    ASSERT_EQ(late.slot(), 3);
    const std::size_t from = late.count();
    late.send("CMD_rejoin+3+" + again + "+");
    ASSERT_TRUE(dan.login("Dan"));
    EXPECT_TRUE(late.waitFor("CMD_sendlogininfo+3", from)) << "once the newcomer has logged in";
    EXPECT_FALSE(dan.closedByHost());
}

// Tables dropped together may be offered each other's slots before either says who it is: whichever
// speaks first waits for the other, and they change places.
TEST_F(RejoinTest, TablesOfferedEachOthersSlotsChangePlaces)
{
    for (const bool carlFirst : {true, false}) {
        SCOPED_TRACE(carlFirst ? "Carl speaks first" : "Bob speaks first");
        TestHost other(Transport::Memory);
        other.server.setLogger([](const QString&) {});
        TestTable& ann = other.connect();
        ASSERT_TRUE(ann.login("Ann"));
        TestTable& bob = other.connect();
        ASSERT_TRUE(bob.login("Bob"));
        TestTable& carl = other.connect();
        ASSERT_TRUE(carl.login("Carl"));
        const std::string bobsKey = askKey(bob);
        const std::string carlsKey = askKey(carl);
        bob.reset();
        carl.reset();
        ASSERT_TRUE(waitUntil([&] { return other.server.slot(2).inuse == 0 && other.server.slot(3).inuse == 0; }));

        TestTable& carlBack = other.connect();
        ASSERT_EQ(carlBack.waitSlot(), 2);
        TestTable& bobBack = other.connect();
        ASSERT_EQ(bobBack.waitSlot(), 3);
        const std::size_t carlFrom = carlBack.count();
        const std::size_t bobFrom = bobBack.count();
        if (carlFirst)
            carlBack.send("CMD_rejoin+2+" + carlsKey + "+");
        bobBack.send("CMD_rejoin+3+" + bobsKey + "+");
        if (!carlFirst)
            carlBack.send("CMD_rejoin+2+" + carlsKey + "+");
        ASSERT_TRUE(carlBack.waitFor("CMD_sendlogininfo+3", carlFrom));
        ASSERT_TRUE(bobBack.waitFor("CMD_sendlogininfo+2", bobFrom));
        ASSERT_TRUE(carlBack.login("Carl"));
        ASSERT_TRUE(bobBack.login("Bob"));
        EXPECT_EQ(other.server.slot(2).name, "Bob");
        EXPECT_EQ(other.server.slot(3).name, "Carl");
        EXPECT_EQ(other.server.slotcount(), 3);
    }
}
