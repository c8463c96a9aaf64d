#include "commands.h"
#include "printers.h"
#include "scriptedplayer.h"
#include "sessionfixture.h"
#include "sessionmessages.h"
#include "tserver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

bool startsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

/// Index of the first line at or after @p from that starts with @p prefix; -1 if none.
int indexOf(const TestTable& table, std::string_view prefix, std::size_t from = 0)
{
    for (std::size_t i = from; i < table.count(); ++i) {
        if (startsWith(table.lines()[i], prefix))
            return int(i);
    }
    return -1;
}

/// The host with the game wired to it: no pauses between tricks and rounds.
class SessionGameTest : public SessionFixture {
protected:
    SessionGameTest()
    {
        server.engine().setPauseTick(0);
        server.useSeed(1);
    }

    /// Index of the first card of @p seat (trick or DOMINO) at or after @p from; -1 if none.
    static int cardOf(const TestTable& table, int seat, std::size_t from)
    {
        const int trick = indexOf(table, "CMD_placecard+" + std::to_string(seat) + "+", from);
        return trick >= 0 ? trick : indexOf(table, "CMD_dplacecard+" + std::to_string(seat) + "+", from);
    }

    /// A seated table whose scripted player answers the host.
    TestTable& player(const std::string& name, std::unique_ptr<ScriptedPlayer>& out, bool enabled = true)
    {
        TestTable& table = join(name);
        out = std::make_unique<ScriptedPlayer>(table.slot());
        out->enabled = enabled;
        ScriptedPlayer* p = out.get();
        table.onLine = [&table, p](std::string_view line) {
            const std::string reply = p->feed(line);
            if (!reply.empty())
                table.send(reply);
        };
        return table;
    }

    std::unique_ptr<ScriptedPlayer> p1, p2, p3, p4;
};

TEST_F(SessionGameTest, LateArrivalsAreBroughtUpToDate)
{
    TestTable& ann = player("Ann", p1, false);
    TestTable& bob = player("Bob", p2, false);
    player("Cid", p3, false);
    player("Dee", p4, false);
    ann.send("CMD_startgame+Ann+s+");
    ASSERT_TRUE(bob.waitForWord(CMD_mycards));
    const std::string bobsCards = bob.linesOf(CMD_mycards).back();
    ASSERT_TRUE(server.engine().gamerunning()); // seat 1 must choose: the game waits

    TestTable& eve = join("Eve");
    ASSERT_EQ(eve.slot(), 5);
    ASSERT_TRUE(flush(eve, eve));
    const int agame = indexOf(eve, "CMD_agame+");
    ASSERT_GE(agame, 0);
    EXPECT_EQ(eve.lines()[std::size_t(agame)], "CMD_agame+5+1+s+4+0+0+0+0+0+0+0+0+");
    EXPECT_EQ(eve.lines()[std::size_t(agame) + 1], "CMD_scores+1+10000+0+2+10000+0+3+10000+0+4+10000+0");
    EXPECT_TRUE(eve.linesOf(CMD_handsused).empty());
    EXPECT_TRUE(eve.linesOf(CMD_mycards).empty());

    // Seat 2 changes hands: the newcomer takes over its cards and balance.
    bob.close();
    ASSERT_TRUE(waitFree(2));
    TestTable& fay = join("Fay");
    ASSERT_EQ(fay.slot(), 2);
    ASSERT_TRUE(flush(fay, fay));
    const int seatGame = indexOf(fay, "CMD_agame+");
    ASSERT_GE(seatGame, 0);
    EXPECT_EQ(fay.linesFrom(std::size_t(seatGame) + 1).size(), 4u);
    const Lines expected{"CMD_scores+1+10000+0+2+10000+0+3+10000+0+4+10000+0", "CMD_handsused+2+1+2+3+4", bobsCards};
    EXPECT_EQ(Lines(fay.lines().begin() + seatGame + 1, fay.lines().begin() + seatGame + 4), expected);
}

TEST_F(SessionGameTest, SeatOnTurnLeavesDuringATrickAndTheComputerPlaysItsCard)
{
    TestTable& ann = player("Ann", p1);
    TestTable& bob = player("Bob", p2, false);
    ann.send("CMD_botspeed+1+40+");
    bool armedAtDeparture = false;
    int intervalAtDeparture = -1;
    QObject::connect(&server, &TServer::departed, &server, [&] {
        armedAtDeparture = server.timers().armed(TimerId::ComputerTimer);
        intervalAtDeparture = server.timers().interval(TimerId::ComputerTimer);
    });
    ann.send("CMD_startgame+Ann+l+");
    // Ann chooses and leads; then seat 2 is on turn and Bob does nothing.
    ASSERT_TRUE(bob.waitFor("CMD_nextplayer+2+"));
    ASSERT_EQ(bob.linesOf(CMD_placecard).size(), 1u);
    EXPECT_EQ(server.engine().turnseat(), 2);

    const std::size_t from = ann.count();
    bob.close();
    ASSERT_TRUE(ann.waitFor("CMD_playerdisconnected+2+Bob", from));
    EXPECT_TRUE(armedAtDeparture);
    EXPECT_EQ(intervalAtDeparture, 40);
    ASSERT_TRUE(waitUntil([&] { return indexOf(ann, "CMD_placecard+2+", from) >= 0; }));
    EXPECT_GT(indexOf(ann, "CMD_placecard+2+", from), indexOf(ann, "CMD_playerdisconnected+2+Bob", from));
}

TEST_F(SessionGameTest, DirectorLeavingWhileChoosingLetsTheComputerChooseAtOnce)
{
    TestTable& ann = player("Ann", p1);
    TestTable& bob = join("Bob");
    ScriptedPlayer bobs(2);
    bool leave = false;
    bob.onLine = [&](std::string_view line) {
        if (startsWith(line, "CMD_startround+2+2+"))
            leave = true; // seat 2 must choose the second contract: leave instead
        if (leave)
            return;
        const std::string reply = bobs.feed(line);
        if (!reply.empty())
            bob.send(reply);
    };
    ann.send("CMD_botspeed+1+0+");
    ann.send("CMD_startgame+Ann+l+");
    ASSERT_TRUE(waitUntil([&] { return leave; }, 30000));
    EXPECT_EQ(server.engine().chooserseat(), 2);
    EXPECT_EQ(bobs.refusals(), 0);
    const std::size_t from = ann.count();
    bob.close();
    ASSERT_TRUE(ann.waitFor("CMD_playerdisconnected+2+Bob", from));
    const int gone = indexOf(ann, "CMD_playerdisconnected+2+Bob", from);
    ASSERT_TRUE(waitUntil([&] { return ann.count() > std::size_t(gone) + 1; }));
    EXPECT_TRUE(startsWith(ann.lines()[std::size_t(gone) + 1], "CMD_choosehand+2+"));
    EXPECT_EQ(server.engine().chooserseat(), 0);
    // And the game goes on.
    EXPECT_TRUE(ann.waitForWord(CMD_placecard, std::size_t(gone)));
}

TEST_F(SessionGameTest, WatchingDuringAGameHandsTheSeatToTheComputerAndBack)
{
    TestTable& ann = player("Ann", p1, false);
    TestTable& bob = player("Bob", p2, false);
    ann.send("CMD_botspeed+1+0+");
    ann.send("CMD_startgame+Ann+l+");
    ASSERT_TRUE(ann.waitFor("CMD_startround+1+1+"));
    ASSERT_TRUE(flush(ann, bob));
    EXPECT_EQ(server.engine().chooserseat(), 1);

    // The pending chooser starts watching: the computer chooses at once and leads after the delay.
    const std::size_t from = bob.count();
    ann.send("CMD_justwatch+1+1");
    ASSERT_TRUE(bob.waitFor("CMD_justwatching+1+1", from));
    const int watching = indexOf(bob, "CMD_justwatching+1+1", from);
    ASSERT_TRUE(waitUntil([&] { return bob.count() > std::size_t(watching) + 1; }));
    EXPECT_TRUE(startsWith(bob.lines()[std::size_t(watching) + 1], "CMD_choosehand+1+"));
    ASSERT_TRUE(bob.waitFor("CMD_nextplayer+2+", from));
    EXPECT_GE(cardOf(bob, 1, from), 0);
    EXPECT_EQ(server.slot(1).justwatch, 1);

    // Bob, on turn, switches to watching too: the computer plays his card.
    bob.send("CMD_justwatch+2+1");
    ASSERT_TRUE(bob.waitFor("CMD_justwatching+2+1", from));
    ASSERT_TRUE(waitUntil([&] { return cardOf(bob, 2, from) >= 0; }));

    // Back to playing: the flag is cleared and announced; the human plays when the turn comes.
    ann.send("CMD_justwatch+1+2");
    ASSERT_TRUE(bob.waitFor("CMD_justwatching+1+2", from));
    EXPECT_EQ(server.slot(1).justwatch, 0);
}

TEST_F(SessionGameTest, CardsAndChoicesForAnotherSeatAreIgnored)
{
    TestTable& ann = player("Ann", p1, false);
    TestTable& bob = player("Bob", p2, false);
    ann.send("CMD_startgame+Ann+l+");
    ASSERT_TRUE(bob.waitFor("CMD_startround+1+1+"));
    bob.send("CMD_choosetype+1+3+"); // Bob choosing for seat 1
    ASSERT_TRUE(flush(bob, ann));
    EXPECT_EQ(server.engine().chooserseat(), 1);
    ann.send("CMD_choosetype+1+3+");
    ASSERT_TRUE(bob.waitFor("CMD_choosehand+1+3+0+"));
    ASSERT_TRUE(bob.waitFor("CMD_nextplayer+1+"));
    bob.send("CMD_playcard+1+1+"); // Bob playing for seat 1
    ASSERT_TRUE(flush(bob, ann));
    EXPECT_TRUE(ann.linesOf(CMD_placecard).empty());
    EXPECT_EQ(server.engine().turnseat(), 1);
}

// A hint goes to the table that holds the seat, on its choice or turn only; with another human seated
// only once the host player allows hints, which every table is told.
TEST_F(SessionGameTest, HintsAnswerTheSeatOnItsTurnAndNeedTheHostPlayersLeaveWithOthersSeated)
{
    server.engine().master().setSettings({4, 4, 2, 8, 300, 8});
    TestTable& ann = player("Ann", p1, false);
    TestTable& bob = player("Bob", p2, false);
    ann.send("CMD_startgame+Ann+l+");
    ASSERT_TRUE(bob.waitFor("CMD_startround+1+1+"));
    ASSERT_TRUE(flush(ann, bob));
    ASSERT_EQ(server.engine().chooserseat(), 1);

    const std::string allowed = "CMD_chat+0+The host player allows hints.|clBlue";
    const std::string refused = "CMD_chat+0+The host player allows no hints.|clBlue";
    struct Row {
        TestTable* from;
        std::string line;
        std::string hintToAnn; ///< the start of the hint Ann gets; empty: none (and Bob never gets one)
        std::string systemLine; ///< what both tables are told; empty: nothing
        bool chooseFirst = false; ///< Ann chooses the hinted contract before the row
    };
    const Row rows[] = {
        {&ann, "CMD_hint+1+", "", ""},                 // Bob is seated and hints are not allowed
        {&bob, "CMD_allowhints+t+", "", ""},           // only the host player allows them
        {&ann, "CMD_allowhints+yes+", "", ""},         // an unknown word changes nothing
        {&ann, "CMD_allowhints+t+", "", allowed},
        {&ann, "CMD_allowhints+t+", "", ""},           // no change, no line
        {&bob, "CMD_hint+1+", "", ""},                 // not Bob's seat
        {&bob, "CMD_hint+2+", "", ""},                 // Bob neither chooses nor is on turn
        {&ann, "CMD_hint+1+", "CMD_hint+1+0+", ""},    // the contract Ann would choose
        {&ann, "CMD_hint+1+", "CMD_hint+1+", "", true}, // the hand slot of Ann's lead
        {&ann, "CMD_allowhints+f+", "", refused},
        {&ann, "CMD_hint+1+", "", ""},
    };
    std::string lastContractHint;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        if (row.chooseFirst) {
            ASSERT_FALSE(lastContractHint.empty());
            ann.send("CMD_choosetype+1+" + lastContractHint + "+");
            ASSERT_TRUE(ann.waitFor("CMD_nextplayer+1+"));
        }
        const std::size_t annFrom = ann.count();
        const std::size_t bobFrom = bob.count();
        row.from->send(row.line);
        ASSERT_TRUE(flush(*row.from, ann));
        ASSERT_TRUE(flush(*row.from, bob));
        const Lines annHints = ann.linesOf(CMD_hint, annFrom);
        EXPECT_TRUE(bob.linesOf(CMD_hint, bobFrom).empty());
        if (row.hintToAnn.empty()) {
            EXPECT_TRUE(annHints.empty());
        } else {
            ASSERT_EQ(annHints.size(), 1u);
            const Hint hint = Hint::read(std::string_view(annHints[0]).substr(CMD_hint.size() + 1));
            EXPECT_TRUE(startsWith(annHints[0], row.hintToAnn));
            EXPECT_EQ(hint.seat, 1);
            if (hint.handSlot == 0) {
                EXPECT_TRUE(validContract(hint.contract));
                lastContractHint = std::to_string(hint.contract);
            } else {
                EXPECT_LE(hint.handSlot, kHandSlots);
                EXPECT_NE(server.slot(1).cards[std::size_t(hint.handSlot)], 0);
            }
        }
        for (TestTable* table : {&ann, &bob}) {
            const Lines chats = table->linesOf(CMD_chat, table == &ann ? annFrom : bobFrom);
            const bool told = std::find(chats.begin(), chats.end(), row.systemLine) != chats.end();
            EXPECT_EQ(told, !row.systemLine.empty()) << table->slot();
        }
    }

    // Alone at the table Ann needs nobody's leave.
    bob.close();
    ASSERT_TRUE(waitFree(2));
    const std::size_t from = ann.count();
    ann.send("CMD_hint+1+");
    ASSERT_TRUE(flush(ann, ann));
    EXPECT_EQ(ann.linesOf(CMD_hint, from).size(), 1u);
}

TEST_F(SessionGameTest, SeatOneIsTakenOverOnlyWhenTheHostIsDedicated)
{
    for (const bool dedicated : {false, true}) {
        SCOPED_TRACE(dedicated);
        TestHost other(Transport::Memory);
        TServer& host = other.server;
        host.setLogger([](const QString&) {});
        host.setSeatOneTakeover(dedicated);
        TestTable& ann = other.connect();
        ASSERT_TRUE(ann.login("Ann"));
        TestTable& bob = other.connect();
        ASSERT_TRUE(bob.login("Bob"));
        ann.send("CMD_startgame+Ann+l+");
        ASSERT_TRUE(bob.waitFor("CMD_startround+1+1+"));
        const std::size_t from = bob.count();
        ann.close(); // seat 1 must choose
        ASSERT_TRUE(bob.waitFor("CMD_playerdisconnected+1+Ann", from));
        bob.send("CMD_chat+2+sync|clBlack");
        ASSERT_TRUE(bob.waitFor("CMD_chat+2+Bob chats: sync|clBlack", from));
        EXPECT_EQ(!bob.linesOf(CMD_choosehand, from).empty(), dedicated);
        EXPECT_EQ(host.engine().chooserseat(), dedicated ? 0 : 1);
    }
}

} // namespace
