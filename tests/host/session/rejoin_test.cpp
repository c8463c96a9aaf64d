// Coming back after a dropped connection: seat keys, rejoins, and the words a removed table and every
// asking table hear before the host lets them go. Tables connect in memory.

#include "commands.h"
#include "printers.h"
#include "sessionfixture.h"
#include "sessionmessages.h"
#include "tserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

class RejoinTest : public SessionFixture {
public:
    using SessionFixture::join;
    using SessionFixture::waitFree;

    /// Asks for the seat key of @p table's slot and returns it ("" when none came).
    static std::string askKey(TestTable& table)
    {
        const std::size_t from = table.count();
        table.send("CMD_seatkey+" + std::to_string(table.slot()) + "+");
        if (!table.waitForWord(CMD_seatkey, from))
            return {};
        const std::string line = table.linesOf(CMD_seatkey, from).front();
        const SeatKey answer = SeatKey::read(splitCommand(line).rest);
        EXPECT_EQ(answer.slot, table.slot());
        return std::string(answer.key);
    }

    /**
     * A new connection that answers its slot offer with CMD_rejoin and @p key; returns once the host has
     * offered a slot again (the table's slot() is then the slot it may log in to).
     */
    TestTable& rejoin(const std::string& key)
    {
        TestTable& table = host.connect();
        const int offered = table.waitSlot();
        EXPECT_NE(offered, 0);
        const std::size_t from = table.count();
        table.send("CMD_rejoin+" + std::to_string(offered) + "+" + key + "+");
        EXPECT_TRUE(table.waitForWord(CMD_sendlogininfo, from));
        return table;
    }

    /// Drops @p table and waits until the host has freed its slot.
    void drop(TestTable& table)
    {
        const int slot = table.slot();
        table.reset();
        ASSERT_TRUE(waitFree(slot));
    }
};

/// Lines without the words only an asking table hears.
Lines withoutNewWords(const Lines& lines)
{
    Lines kept;
    for (const std::string& line : lines) {
        const std::string_view word = wordOf(line);
        if (word != CMD_seatkey && word != CMD_removed && word != CMD_hostclosing && word != CMD_playerremoved)
            kept.push_back(line);
    }
    return kept;
}

} // namespace

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

// A table that never asks hears exactly what it heard before the words existed, whatever the others
// do; a table that asks hears the same plus its key, and is told before it is removed or the host ends.
TEST_F(RejoinTest, OnlyTablesThatAskHearTheNewWords)
{
    struct Transcript {
        Lines ann, bob, cid;
    };
    const auto run = [](bool ask) {
        TestHost other(Transport::Memory);
        other.server.setLogger([](const QString&) {});
        TestTable& ann = other.connect();
        EXPECT_TRUE(ann.login("Ann"));
        TestTable& bob = other.connect();
        EXPECT_TRUE(bob.login("Bob"));
        TestTable& cid = other.connect();
        EXPECT_TRUE(cid.login("Cid"));
        if (ask) {
            EXPECT_NE(askKey(bob), "");
            EXPECT_NE(askKey(cid), "");
        }
        bob.send("CMD_chat+2+hi|clBlack");
        EXPECT_TRUE(ann.waitFor("CMD_chat+2+Bob chats: hi|clBlack"));
        ann.send("CMD_kickhim+1+3+");
        EXPECT_TRUE(cid.waitClosed());
        EXPECT_TRUE(bob.waitFor("CMD_playerdisconnected+3+Cid"));
        other.server.announceClosing();
        // Settled: a chat sent after the announcement comes back after it.
        ann.send("CMD_chat+1+bye|clBlack");
        EXPECT_TRUE(bob.waitFor("CMD_chat+1+Ann chats: bye|clBlack"));
        EXPECT_TRUE(ann.waitFor("CMD_chat+1+Ann chats: bye|clBlack"));
        return Transcript{ann.lines(), bob.lines(), cid.lines()};
    };
    const Transcript before = run(false);
    const Transcript after = run(true);
    ASSERT_FALSE(HasFailure());

    EXPECT_EQ(after.ann, before.ann);
    EXPECT_EQ(withoutNewWords(after.bob), before.bob);
    EXPECT_EQ(withoutNewWords(after.cid), before.cid);
    EXPECT_EQ(withoutNewWords(before.bob), before.bob);
    EXPECT_EQ(withoutNewWords(before.cid), before.cid);
    ASSERT_FALSE(after.cid.empty());
    EXPECT_EQ(after.cid.back(), "CMD_removed+") << "the last word before the host closes it";
    ASSERT_GE(after.bob.size(), 2u);
    EXPECT_EQ(after.bob[after.bob.size() - 2], "CMD_hostclosing+");
}

// A table that logs in after the host player allowed hints, or comes back, and asks for its seat key is
// told once, after its catch-up, in the words the others heard (not again if it heard them allow hints
// after its login); with hints refused, from the host player's own seat, or without asking, it hears
// exactly what it would have heard had hints never been allowed.
TEST_F(RejoinTest, TableArrivingAfterHintsWereAllowedIsToldOnce)
{
    enum class Who { Newcomer, Returning, HostPlayer };
    const struct {
        const char* what;
        Who who;
        std::vector<std::string> hints; ///< the host player's CMD_allowhints words, in order
        int asks;                       ///< how often the arriving table asks for its seat key
        int told;                       ///< how often it hears that hints are allowed
        bool afterLogin = false;        ///< hints are allowed after its login, before it asks
    } rows[] = {
        {"a newcomer that asks", Who::Newcomer, {"t"}, 1, 1},
        {"a newcomer that asks twice", Who::Newcomer, {"t"}, 2, 1},
        {"a newcomer that does not ask", Who::Newcomer, {"t"}, 0, 0},
        {"hints allowed, then refused again", Who::Newcomer, {"t", "f"}, 1, 0},
        {"hints allowed between its login and its asking", Who::Newcomer, {"t"}, 1, 1, true},
        {"a table back after a drop", Who::Returning, {"t"}, 1, 1},
        {"a table back that does not ask again", Who::Returning, {"t"}, 0, 0},
        {"the host player's own table", Who::HostPlayer, {"t"}, 1, 0},
    };
    const std::string allowed = "CMD_chat+0+The host player allows hints.|clBlue";
    // The arriving table's lines from its arrival on, seat keys left out (each is new).
    const auto run = [&allowed](const auto& row, bool allow) {
        TestHost other(Transport::Memory);
        other.server.setLogger([](const QString&) {});
        other.server.useSeed(1);
        TestTable& ann = other.connect();
        EXPECT_TRUE(ann.login("Ann"));
        TestTable& bob = other.connect();
        EXPECT_TRUE(bob.login("Bob"));
        const std::string key = askKey(bob);
        ann.send("CMD_botspeed+1+10000+");
        ann.send("CMD_startgame+Ann+s+");
        // Whatever the host player says has reached @p to once it has Ann's next chat.
        const auto setHints = [&](TestTable& to) {
            for (const std::string& word : row.hints)
                ann.send("CMD_allowhints+" + (allow ? word : "f") + "+");
            const std::size_t seen = to.count();
            ann.send("CMD_chat+1+set|clBlack");
            EXPECT_TRUE(to.waitFor("CMD_chat+1+Ann chats: set|clBlack", seen));
        };
        if (!row.afterLogin)
            setHints(bob);
        TestTable* table = &ann;
        if (row.who == Who::Newcomer) {
            table = &other.connect();
            EXPECT_TRUE(table->login("Cid"));
        } else if (row.who == Who::Returning) {
            bob.reset();
            EXPECT_TRUE(waitUntil([&] { return other.server.slot(2).inuse == 0; }));
            table = &other.connect();
            const int offered = table->waitSlot();
            table->send("CMD_rejoin+" + std::to_string(offered) + "+" + key + "+");
            EXPECT_TRUE(table->waitFor("CMD_sendlogininfo+2"));
            EXPECT_TRUE(table->login("Bob"));
        }
        const std::size_t from = table == &ann ? ann.count() : 0;
        if (row.who != Who::HostPlayer) {
            EXPECT_TRUE(table->waitForWord(CMD_mycards)) << "the catch-up";
        }
        if (row.afterLogin)
            setHints(*table);
        for (int n = 0; n < row.asks; ++n)
            table->send("CMD_seatkey+" + std::to_string(table->slot()) + "+");
        const std::string name = other.server.slot(table->slot()).name;
        table->send("CMD_chat+" + std::to_string(table->slot()) + "+done|clBlack");
        EXPECT_TRUE(table->waitFor("CMD_chat+" + std::to_string(table->slot()) + "+" + name + " chats: done|clBlack"));
        Lines heard;
        int keys = 0;
        for (std::size_t i = from; i < table->count(); ++i) {
            const std::string& line = table->lines()[i];
            if (wordOf(line) == CMD_seatkey) {
                ++keys;
                continue;
            }
            if (line == allowed && !row.afterLogin) {
                EXPECT_EQ(keys, 1) << "with the first key";
                EXPECT_EQ(wordOf(table->lines()[i - 1]), CMD_seatkey) << "right after it";
            }
            heard.push_back(line);
        }
        return heard;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const Lines baseline = run(row, false);
        const Lines heard = run(row, true);
        ASSERT_FALSE(HasFailure());
        Lines rest;
        std::copy_if(heard.begin(), heard.end(), std::back_inserter(rest),
                     [&](const std::string& l) { return l != allowed; });
        EXPECT_EQ(int(heard.size() - rest.size()), row.told);
        EXPECT_EQ(rest, baseline);
        if (row.told > 0 && !row.afterLogin) {
            const auto isHand = [](const std::string& l) { return wordOf(l) == CMD_mycards; };
            const auto hand = std::find_if(heard.rbegin(), heard.rend(), isHand);
            const auto at = std::find(heard.begin(), heard.end(), allowed);
            ASSERT_NE(hand, heard.rend());
            EXPECT_GT(at - heard.begin(), heard.rend() - hand - 1) << "after the catch-up";
        }
    }
}

// The host player removing a table: the other tables that asked for their seat keys hear
// CMD_playerremoved right before the designed CMD_playerdisconnected; a table that did not ask, and
// every table when a table merely drops, hear the designed line alone.
TEST_F(RejoinTest, RemovalIsToldOnlyToTablesThatAsk)
{
    const struct {
        const char* what;
        int gone;     ///< the slot that goes
        bool removed; ///< removed by the host player, else its connection drops
        bool bobAsks;
        bool goneAsks;
    } rows[] = {
        {"a player removed", 3, true, true, false},                  // Bob is told
        {"a player removed, Bob did not ask", 3, true, false, true}, // only the removed table asked
        {"a player drops", 3, false, true, true},                    // a drop is no removal
        {"a spectator removed", 5, true, true, false},               // Bob is told
        {"a spectator drops", 5, false, true, false},
    };
    const std::vector<std::string> names = {"", "Ann", "Bob", "Cid", "Dee", "Eve"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TestHost other(Transport::Memory);
        other.server.setLogger([](const QString&) {});
        std::vector<TestTable*> tables(names.size(), nullptr);
        for (std::size_t slot = 1; slot < names.size(); ++slot) {
            tables[slot] = &other.connect();
            ASSERT_TRUE(tables[slot]->login(names[slot]));
        }
        TestTable& ann = *tables[1];
        TestTable& bob = *tables[2];
        TestTable& gone = *tables[std::size_t(row.gone)];
        if (row.bobAsks) {
            EXPECT_NE(askKey(bob), "");
        }
        if (row.goneAsks) {
            EXPECT_NE(askKey(gone), "");
        }
        const std::size_t annFrom = ann.count();
        const std::size_t bobFrom = bob.count();
        if (row.removed)
            ann.send("CMD_kickhim+1+" + std::to_string(row.gone) + "+");
        else
            gone.reset();
        const std::string departure =
            "CMD_playerdisconnected+" + std::to_string(row.gone) + "+" + names[std::size_t(row.gone)];
        ASSERT_TRUE(bob.waitFor(departure, bobFrom));
        // Settled: a chat sent after the departure comes back after it.
        const std::string chat = "CMD_chat+1+Ann chats: after|clBlack";
        ann.send("CMD_chat+1+after|clBlack");
        ASSERT_TRUE(ann.waitFor(chat, annFrom));
        ASSERT_TRUE(bob.waitFor(chat, bobFrom));
        const Lines designed = {departure, chat};
        const Lines told = {"CMD_playerremoved+" + std::to_string(row.gone) + "+", departure, chat};
        EXPECT_EQ(Lines(ann.lines().begin() + std::ptrdiff_t(annFrom), ann.lines().end()), designed);
        EXPECT_EQ(Lines(bob.lines().begin() + std::ptrdiff_t(bobFrom), bob.lines().end()),
                  row.removed && row.bobAsks ? told : designed);
    }
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
