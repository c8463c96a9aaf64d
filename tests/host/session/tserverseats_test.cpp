#include "printers.h"
#include "sessionfixture.h"
#include "tserver.h"

#include <QObject>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

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
