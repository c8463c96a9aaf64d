#include "tserver.h"

#include "printers.h"
#include "sessionfixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

class TServerTest : public SessionFixture {};

/// Tests that run over both transports: what TCP does to a connection must come out the same.
class TServerTransportTest : public SessionFixture, public ::testing::WithParamInterface<Transport> {
protected:
    TServerTransportTest() : SessionFixture(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Transports, TServerTransportTest, ::testing::Values(Transport::Memory, Transport::Tcp),
                         transportName);

TEST_F(TServerTest, SeatsConnectionsInTheLowestFreeSlot)
{
    server.setMaxWaitingLogins(0); // these connections never log in
    TestTable& first = open();
    TestTable& second = open();
    TestTable& third = open();
    EXPECT_EQ(first.slot(), 1);
    EXPECT_EQ(second.slot(), 2);
    EXPECT_EQ(third.slot(), 3);
    EXPECT_EQ(first.lines(), Lines{"CMD_sendlogininfo+1"});

    second.close();
    ASSERT_TRUE(waitFree(2));
    EXPECT_EQ(open().slot(), 2);
    EXPECT_EQ(open().slot(), 4);
    EXPECT_EQ(server.slotcount(), 4);
}

TEST_P(TServerTransportTest, TenthConnectionIsToldTheGameIsFullAndClosed)
{
    server.setMaxWaitingLogins(0); // these connections never log in
    for (int n = 1; n <= 9; ++n)
        ASSERT_EQ(open().slot(), n);
    TestTable& tenth = open();
    ASSERT_TRUE(tenth.waitClosed());
    EXPECT_EQ(tenth.lines(), Lines{"CMD_full+"});
    EXPECT_EQ(tenth.pendingBytes(), 0u);
    EXPECT_EQ(server.slotcount(), 9);
    EXPECT_EQ(server.slot(10).inuse, 0);

    // Nobody heard of it, and a slot freed later is taken again as usual.
    flush(*tables[0], *tables[8]);
    for (int n = 0; n < 9; ++n)
        EXPECT_TRUE(tables[std::size_t(n)]->linesOf("CMD_playerdisconnected").empty());
    tables[4]->close();
    ASSERT_TRUE(waitFree(5));
    EXPECT_EQ(open().slot(), 5);
}

TEST_F(TServerTest, FailedAcceptLeavesTheSlotFree)
{
    // Nothing is pending, so the accept fails.
    server.Sock1Accept();
    EXPECT_EQ(server.slotcount(), 0);
    EXPECT_EQ(server.slot(1).inuse, 0);
    EXPECT_TRUE(logged("Could Not Accept Connection"));
    EXPECT_EQ(open().slot(), 1);
}

TEST_F(TServerTest, LoginAnnouncesTheNewcomerAndListsTheOthers)
{
    TestTable& ann = join("Ann");
    TestTable& quiet = open(); // slot 2, connected but not logged in
    TestTable& bob = join("Bob+Co");
    ASSERT_EQ(bob.slot(), 3);
    ASSERT_TRUE(bob.waitFor("CMD_existingplayers+2+"));
    EXPECT_EQ(bob.lines(), (Lines{"CMD_sendlogininfo+3", "CMD_newplayerinfo+3+Bob+Co", "CMD_existingplayers+1+Ann",
                                  "CMD_existingplayers+2+"}));
    EXPECT_EQ(ann.lines(), (Lines{"CMD_sendlogininfo+1", "CMD_newplayerinfo+1+Ann", "CMD_newplayerinfo+3+Bob+Co"}));
    EXPECT_TRUE(quiet.waitFor("CMD_newplayerinfo+3+Bob+Co"));
    EXPECT_EQ(server.slot(3).name, "Bob+Co");
}

TEST_F(TServerTest, VersionWarnings)
{
    struct Case {
        std::string version;
        bool slotOneLeavesFirst;
        bool warned;
    };
    for (const Case& c : {Case{"1.0.5", false, false}, Case{"1.0.4", false, true}, Case{"2.0", true, true}}) {
        SCOPED_TRACE(c.version);
        TestHost other(Transport::Memory);
        TServer& host = other.server;
        host.setLogger([](const QString&) {});
        TestTable& first = other.connect();
        ASSERT_TRUE(first.login("Host"));
        TestTable& late = other.connect();
        ASSERT_EQ(late.waitSlot(), 2);
        if (c.slotOneLeavesFirst) {
            first.close();
            ASSERT_TRUE(waitUntil([&] { return host.slot(1).inuse == 0; }));
        }
        ASSERT_TRUE(late.login("Late", c.version));
        late.send("CMD_chat+2+done|clBlack");
        ASSERT_TRUE(late.waitFor("CMD_chat+2+Late chats: done|clBlack"));
        EXPECT_EQ(late.has("CMD_wrongversion+"), c.warned);
        EXPECT_FALSE(late.has("CMD_havewrongversion+Late"));
        if (!c.slotOneLeavesFirst) {
            EXPECT_EQ(first.has("CMD_havewrongversion+Late"), c.warned);
        }
        EXPECT_EQ(host.slot(2).inuse, 1); // seated all the same
        EXPECT_EQ(host.slot(2).name, "Late");
    }
}

TEST_P(TServerTransportTest, DeparturesAreAnnouncedAndFreeTheSlot)
{
    enum class How { Close, Reset, Kick };
    for (const How how : {How::Close, How::Reset, How::Kick}) {
        SCOPED_TRACE(int(how));
        TestHost other(GetParam());
        TServer& host = other.server;
        host.setLogger([](const QString&) {});
        TestTable& ann = other.connect();
        ASSERT_TRUE(ann.login("Ann"));
        TestTable& bob = other.connect();
        ASSERT_TRUE(bob.login("Bob"));
        TestTable& cid = other.connect();
        ASSERT_TRUE(cid.login("Cid"));
        bob.send("CMD_justwatch+2+2");
        ASSERT_TRUE(cid.waitFor("CMD_justwatching+2+2"));

        if (how == How::Close)
            bob.close();
        else if (how == How::Reset)
            bob.reset();
        else
            ann.send("CMD_kickhim+1+2+");
        ASSERT_TRUE(ann.waitFor("CMD_playerdisconnected+2+Bob"));
        ASSERT_TRUE(cid.waitFor("CMD_playerdisconnected+2+Bob"));
        EXPECT_EQ(host.slot(2).inuse, 0);
        EXPECT_EQ(host.slot(2).name, "");
        EXPECT_EQ(host.slot(2).justwatch, 0);
        if (how == How::Kick) {
            EXPECT_TRUE(bob.waitClosed());
        }
        EXPECT_EQ(ann.linesOf("CMD_playerdisconnected").size(), 1u);
    }
}

TEST_F(TServerTest, OnlySlotOneMayRemoveATable)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    TestTable& cid = join("Cid");
    bob.send("CMD_kickhim+2+3+");  // from slot 2: ignored
    bob.send("CMD_kickhim+1+3+");  // slot 2 claiming to be slot 1: ignored
    ann.send("CMD_kickhim+1+10+"); // no such slot
    ann.send("CMD_kickhim+1+7+");  // a free slot
    ASSERT_TRUE(flush(ann, cid));
    ASSERT_TRUE(flush(bob, cid));
    EXPECT_FALSE(cid.closedByHost());
    EXPECT_EQ(server.slot(3).inuse, 1);
    EXPECT_TRUE(ann.linesOf("CMD_playerdisconnected").empty());
}

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

TEST_F(TServerTest, LoginOfAConnectionThatHasGoneIsDropped)
{
    TestTable& ann = join("Ann");
    server.setDispatchInterval(3600000); // lines wait until dispatched by hand below
    TestTable& bob = open();
    bob.send("CMD_logininfo+2+1.0.5+Bob");
    ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == 1; }));
    bob.close();
    ASSERT_TRUE(waitFree(2));
    server.socktimerTimer();
    EXPECT_EQ(server.waitingLines(), 0u);
    EXPECT_EQ(server.slot(2).inuse, 0);
    EXPECT_EQ(server.slot(2).name, "");
    server.setDispatchInterval(0);
    TestTable& cid = join("Cid");
    EXPECT_EQ(cid.slot(), 2);
    EXPECT_FALSE(ann.has("CMD_newplayerinfo+2+Bob"));
}

TEST_F(TServerTest, LinesOfAGoneConnectionGoWithIt)
{
    TestTable& ann = join("Ann");
    TestTable& bob = join("Bob");
    server.setDispatchInterval(3600000);
    bob.send("CMD_chat+2+bye|clBlack");
    bob.send("CMD_botspeed+2+100+");
    ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == 2; }));
    bob.close();
    ASSERT_TRUE(waitFree(2));
    // Nothing the departed table left behind may act on the slot's next occupant.
    EXPECT_EQ(server.waitingLines(), 0u);
    TestTable& cid = open();
    ASSERT_EQ(cid.slot(), 2);
    server.setDispatchInterval(0);
    ASSERT_TRUE(cid.login("Cid"));
    ASSERT_TRUE(flush(cid, ann));
    EXPECT_EQ(ann.linesOf("CMD_chat"), Lines{"CMD_chat+2+Cid chats: marker|clBlack"});
    EXPECT_EQ(server.connections().size(), 2u); // records of gone connections are not kept
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

/// Seat @p seat's first hand as a host whose generator had @p seed would deal it: the shuffle as the
/// host does it, the way anyone who knows the generator can.
std::array<int, kHandSlots + 1> dealtFrom(std::uint32_t seed, int seat)
{
    Random random(seed);
    std::array<int, kCardCount + 1> places{};
    for (int card = 1; card <= kCardCount; ++card) {
        int place = 0;
        do {
            place = int(random.draw(kCardCount)) + 1;
        } while (places[std::size_t(place)] != 0);
        places[std::size_t(place)] = card;
    }
    std::array<int, kHandSlots + 1> hand{};
    for (int slot = 1; slot <= kHandSlots; ++slot)
        hand[std::size_t(slot)] = places[std::size_t((slot - 1) * kSeatCount + seat)];
    std::sort(hand.begin() + 1, hand.end());
    return hand;
}

// With a seed the game's own generator deals, as it always has; without one no seed does: neither the
// milliseconds of the day around the start nor a second host started at the same moment repeat a hand.
TEST(HostChance, OnlyAGivenSeedPinsTheDeal)
{
    struct Row {
        std::optional<std::uint32_t> seed;
        bool foreseeable;
    };
    const Row rows[] = {{0u, true}, {20240607u, true}, {std::nullopt, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seed ? std::to_string(*row.seed) : std::string("no seed"));
        const auto msOfDay = [] {
            using namespace std::chrono;
            return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() %
                   (24LL * 60 * 60 * 1000);
        };
        const long long before = msOfDay();
        std::array<TServer, 2> hosts;
        for (TServer& host : hosts) {
            if (row.seed)
                host.useSeed(*row.seed);
            for (int seat = 1; seat <= kSeatCount; ++seat)
                host.engine().seat(seat).inuse = 1;
            host.engine().startgame(StartGame{"Host", "l"});
        }
        const auto& hand = hosts[0].engine().seat(1).cards;
        EXPECT_EQ(hand == hosts[1].engine().seat(1).cards, row.foreseeable);
        if (row.seed) {
            EXPECT_EQ(hand, dealtFrom(*row.seed, 1));
            continue;
        }
        constexpr long long kDay = 24LL * 60 * 60 * 1000;
        const long long spent = (msOfDay() - before + kDay) % kDay;
        for (long long ms = before - 10000; ms <= before + spent + 10000; ++ms) {
            const auto seed = std::uint32_t((ms + kDay) % kDay);
            ASSERT_NE(hand, dealtFrom(seed, 1)) << "dealt from the time of day " << seed;
        }
    }
}

} // namespace

namespace {

/// What the host tells the local network follows every seat and the game, one signal per change.
TEST_F(TServerTest, SeatsChangedFollowsArrivalsDeparturesWatchersAndTheGame)
{
    struct Told {
        int players;
        int free;
        bool playing;
        bool operator==(const Told&) const = default;
    };
    std::vector<Told> told;
    QObject::connect(&server, &TServer::seatsChanged, [&] {
        told.push_back({server.seatedPlayers(), server.freeSeats(), server.playing()});
    });

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<Told> expected; ///< everything told so far
    };
    TestTable* ann = nullptr;
    TestTable* bob = nullptr;
    const std::vector<Step> steps{
        {"Ann arrives", [&] { ann = &join("Ann"); }, {{1, 3, false}}},
        {"Bob arrives", [&] { bob = &join("Bob"); }, {{1, 3, false}, {2, 2, false}}},
        {"seats 3 and 4 fill; a spectator changes nothing",
         [&] {
             for (int n = 3; n <= 5; ++n)
                 join("Watcher" + std::to_string(n));
         },
         {{1, 3, false}, {2, 2, false}, {3, 1, false}, {4, 0, false}}},
        {"the player in seat 3 leaves",
         [&] {
             tables[2]->close();
             ASSERT_TRUE(waitFree(3));
         },
         {{1, 3, false}, {2, 2, false}, {3, 1, false}, {4, 0, false}, {3, 1, false}}},
        {"Ann starts a game",
         [&] {
             ann->send("CMD_startgame+Ann+s+");
             ASSERT_TRUE(ann->waitForWord(CMD_startgame));
         },
         {{1, 3, false}, {2, 2, false}, {3, 1, false}, {4, 0, false}, {3, 1, false}, {3, 1, true}}},
        {"Bob leaves during the game",
         [&] {
             bob->close();
             ASSERT_TRUE(waitFree(2));
         },
         {{1, 3, false}, {2, 2, false}, {3, 1, false}, {4, 0, false}, {3, 1, false}, {3, 1, true}, {2, 2, true}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        ASSERT_TRUE(waitUntil([&] { return told.size() >= step.expected.size(); }));
        EXPECT_TRUE(told == step.expected);
    }
}

} // namespace
