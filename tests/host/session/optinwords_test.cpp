// The words only a table that asked for its seat key hears: what such a table and an older one receive
// side by side, the hints line a late arrival is told, and a removal told as one. Tables connect in
// memory.

#include "cards.h"
#include "commands.h"
#include "gamemessages.h"
#include "printers.h"
#include "rejoinfixture.h"
#include "sessionmessages.h"
#include "tserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>

using namespace morlu;
using namespace morlu::test;

namespace {

/// Lines without the words only an asking table hears.
Lines withoutNewWords(const Lines& lines)
{
    Lines kept;
    for (const std::string& line : lines) {
        const std::string_view word = wordOf(line);
        if (word != CMD_seatkey && word != CMD_removed && word != CMD_hostclosing && word != CMD_playerremoved &&
            word != CMD_handover && word != CMD_dlayout)
            kept.push_back(line);
    }
    return kept;
}

/// What a table heard that logged in during a short game, and the host's state as it arrived.
struct Arrival {
    Lines lines;
    bool handOver = false;
    std::optional<DLayout> layout;
};

/**
 * Seat 1 chooses @p contract (none: the choice stays pending) and the seats lay up to @p cards cards, the
 * first each may; then a table logs in to seat 2 (Bob back with his key when @p returning, else Cid),
 * asks for its seat key if @p asks, and chats once, so that everything the host sent it has arrived.
 */
Arrival arriveDuringAGame(int contract, int cards, bool returning, bool asks)
{
    TestHost other(Transport::Memory);
    other.server.setLogger([](const QString&) {});
    other.server.useSeed(7);
    GameEngine& engine = other.server.engine();
    // The pause after a hand lasts, and no computer seat plays on its own: the test plays every card.
    engine.setPauseTick(1000000);
    TestTable& ann = other.connect();
    EXPECT_TRUE(ann.login("Ann"));
    std::string key;
    if (returning) {
        TestTable& bob = other.connect();
        EXPECT_TRUE(bob.login("Bob"));
        key = RejoinTest::askKey(bob);
    }
    ann.send("CMD_botspeed+1+10000+");
    ann.send("CMD_startgame+Ann+s+");
    EXPECT_TRUE(ann.waitForWord(CMD_startround));
    if (contract != 0)
        engine.choosetype(ChooseType{1, contract});
    // The seat on turn lays the first card of its hand the host takes.
    const auto playOne = [&engine] {
        const int seat = engine.turnseat();
        for (int slot = 1; slot <= kHandSlots; ++slot) {
            if (engine.seat(seat).cards[std::size_t(slot)] == 0)
                continue;
            engine.playcard(PlayCard{seat, slot});
            if (engine.seat(seat).cards[std::size_t(slot)] == 0)
                return;
        }
        ADD_FAILURE() << "seat " << seat << " has no card to play";
    };
    for (int n = 0; contract != 0 && !engine.handOver() && n < cards; ++n)
        playOne();

    TestTable* table = nullptr;
    if (returning) {
        other.tables[1]->reset();
        EXPECT_TRUE(waitUntil([&] { return other.server.slot(2).inuse == 0; }));
        table = &other.connect();
        const int offered = table->waitSlot();
        table->send("CMD_rejoin+" + std::to_string(offered) + "+" + key + "+");
        EXPECT_TRUE(table->waitFor("CMD_sendlogininfo+2"));
        EXPECT_TRUE(table->login("Bob"));
    } else {
        table = &other.connect();
        EXPECT_TRUE(table->login("Cid"));
    }
    EXPECT_TRUE(table->waitForWord(CMD_mycards)) << "the catch-up";
    if (asks)
        table->send("CMD_seatkey+2+");
    table->send("CMD_chat+2+done|clBlack");
    EXPECT_TRUE(table->waitForWord(CMD_chat));
    return Arrival{table->lines(), engine.handOver(), engine.dominoLayout()};
}

} // namespace

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

// A table that asks for its seat key in the pause after a trick or a DOMINO hand is told, right after
// the key, that nobody is on turn (the catch-up of a DOMINO hand just over looks like one being played);
// at any other moment, or without asking, it hears nothing new.
TEST_F(RejoinTest, TableArrivingAfterAHandIsToldNobodyIsOnTurn)
{
    const struct {
        const char* what;
        int contract; ///< 0: the choice is pending
        int cards;    ///< laid before the table arrives
        bool returning;
        bool asks;
        bool told;
    } rows[] = {
        {"a newcomer after a DOMINO hand", Domino, kCardCount, false, true, true},
        {"a table back after a DOMINO hand", Domino, kCardCount, true, true, true},
        {"a newcomer after a DOMINO hand that does not ask", Domino, kCardCount, false, false, false},
        {"a newcomer during a DOMINO hand", Domino, 3, false, true, false},
        {"a newcomer after a trick", Guillotine, kCardCount, false, true, true},
        {"a newcomer while a contract is chosen", 0, 0, false, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const Arrival arrival = arriveDuringAGame(row.contract, row.cards, row.returning, row.asks);
        ASSERT_FALSE(HasFailure());
        ASSERT_EQ(arrival.handOver, row.cards == kCardCount);
        const Lines& heard = arrival.lines;
        const auto told = std::find(heard.begin(), heard.end(), "CMD_handover+");
        EXPECT_EQ(std::count(heard.begin(), heard.end(), "CMD_handover+"), row.told ? 1 : 0);
        if (told != heard.end()) {
            ASSERT_NE(told, heard.begin());
            EXPECT_EQ(wordOf(*(told - 1)), CMD_seatkey) << "right after the key";
        }
    }
}

// A table that asks for its seat key while a DOMINO round is on the board (from its choice through the
// pause after it) is told the layout and the cards each seat holds, last after the key; at any other
// moment, or without asking, it hears line for line what it would have heard before the word existed.
TEST_F(RejoinTest, TableArrivingInADominoRoundIsToldTheLayout)
{
    const struct {
        const char* what;
        int contract; ///< 0: the choice is pending
        int cards;    ///< laid before the table arrives
        bool returning;
        bool told;
    } rows[] = {
        {"a newcomer in a DOMINO hand", Domino, 6, false, true},
        {"a table back in a DOMINO hand", Domino, 6, true, true},
        {"a newcomer before the first DOMINO card", Domino, 0, false, true},
        {"a table back after a DOMINO hand", Domino, kCardCount, true, true},
        {"a newcomer after a trick", Guillotine, kCardCount, false, false},
        {"a newcomer while a contract is chosen", 0, 0, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const Arrival asking = arriveDuringAGame(row.contract, row.cards, row.returning, true);
        const Arrival silent = arriveDuringAGame(row.contract, row.cards, row.returning, false);
        ASSERT_FALSE(HasFailure());
        EXPECT_EQ(withoutNewWords(asking.lines), silent.lines) << "line for line, the new words aside";
        EXPECT_EQ(withoutNewWords(silent.lines), silent.lines);
        const auto isLayout = [](const std::string& line) { return wordOf(line) == CMD_dlayout; };
        ASSERT_EQ(std::count_if(asking.lines.begin(), asking.lines.end(), isLayout), row.told ? 1 : 0);
        ASSERT_EQ(asking.layout.has_value(), row.told);
        if (!row.told)
            continue;
        const auto told = std::find_if(asking.lines.begin(), asking.lines.end(), isLayout);
        ASSERT_NE(told, asking.lines.begin());
        const std::string_view before = wordOf(*(told - 1));
        EXPECT_TRUE(before == CMD_seatkey || before == CMD_handover) << "last after the key: " << before;
        EXPECT_EQ(DLayout::read(splitCommand(*told).rest), *asking.layout);
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
