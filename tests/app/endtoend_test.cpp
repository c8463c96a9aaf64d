#include "commands.h"
#include "gamemessages.h"
#include "printers.h"
#include "scriptedplayer.h"
#include "serverprocess.h"
#include "testtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace morlu;
using namespace morlu::test;

namespace {

constexpr int kGameTime = 50000;

bool startsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

std::string_view restOf(std::string_view line)
{
    return line.substr(wordOf(line).size() + 1);
}

/// A table whose scripted player answers the host's turns and choices.
struct PlayingTable {
    PlayingTable(quint16 port, const std::string& name) : table(port)
    {
        EXPECT_TRUE(table.login(name));
        player = std::make_unique<ScriptedPlayer>(table.slot());
        // Lines that came with the login (a catch-up, a turn) reach the player too.
        const std::vector<std::string> early = table.lines();
        table.onLine = [this](std::string_view line) { hear(line); };
        for (const std::string& line : early)
            hear(line);
    }
    void hear(std::string_view line)
    {
        if (intercept && intercept(line))
            return;
        const std::string reply = player->feed(line);
        if (!reply.empty())
            table.send(reply);
    }
    TestTable table;
    std::unique_ptr<ScriptedPlayer> player;
    /// Looks at each line first; true keeps it from the player.
    std::function<bool(std::string_view)> intercept;
};

/**
 * What a table saw of a whole game, checked message by message: every CMD_scores keeps the banks at
 * 40000 in total with changes summing to 0 and only the director gaining; the rounds count up to the
 * game's length; one CMD_winner ends it, naming the richest seat(s).
 */
void checkGame(const TestTable& table, int rounds, const std::map<int, std::string>& names)
{
    int director = 0;
    int startrounds = 0;
    int winners = 0;
    std::array<int, 5> banks{};
    for (const std::string& line : table.lines()) {
        const std::string_view word = wordOf(line);
        if (word == CMD_startround) {
            ++startrounds;
            EXPECT_EQ(StartRound::read(restOf(line)).round, startrounds);
            EXPECT_EQ(winners, 0);
        } else if (word == CMD_choosehand) {
            director = ChooseHand::read(restOf(line)).seat;
        } else if (word == CMD_scores) {
            const Scores scores = Scores::read(restOf(line));
            ASSERT_EQ(scores.groups.size(), 4u) << line;
            int total = 0;
            int changes = 0;
            for (const ScoreGroup& group : scores.groups) {
                total += group.bank;
                changes += group.money;
                banks[std::size_t(group.seat)] = group.bank;
                if (group.money > 0) {
                    EXPECT_EQ(group.seat, director) << line;
                }
            }
            EXPECT_EQ(total, 40000) << line;
            EXPECT_EQ(changes, 0) << line;
        } else if (word == CMD_winner) {
            ++winners;
            const int best = *std::max_element(banks.begin() + 1, banks.end());
            std::string expected;
            for (int seat = 1; seat <= 4; ++seat) {
                if (banks[std::size_t(seat)] == best)
                    expected += (expected.empty() ? "" : " and ") + names.at(seat);
            }
            EXPECT_EQ(line, "CMD_winner+" + expected + "+");
        }
    }
    EXPECT_EQ(startrounds, rounds);
    EXPECT_EQ(winners, 1);
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.start({"--port", "0", "--seed", "20240607", "--pause-tick-ms", "0"});
        port = server.waitListening();
        ASSERT_NE(port, 0) << server.standardError().toStdString();
    }
    void TearDown() override
    {
        EXPECT_TRUE(server.terminate());
        EXPECT_EQ(server.process().exitCode(), 0);
    }

    /// Fills slots 2.. up to 4 with tables that log in and leave again, so the next table watches from slot 5.
    std::unique_ptr<TestTable> spectator(TestTable& observer)
    {
        std::vector<std::unique_ptr<TestTable>> fillers;
        std::unique_ptr<TestTable> watcher;
        while (!watcher) {
            auto table = std::make_unique<TestTable>(port);
            const int slot = table->waitSlot();
            if (slot == 0 || slot >= 5) {
                watcher = std::move(table);
            } else {
                // Logged in: the host lets only three connections of one address wait for their login.
                EXPECT_TRUE(table->login("Filler" + std::to_string(slot)));
                fillers.push_back(std::move(table));
            }
        }
        for (const auto& filler : fillers) {
            const std::size_t from = observer.count();
            const int slot = filler->slot();
            filler->close();
            EXPECT_TRUE(observer.waitFor(
                "CMD_playerdisconnected+" + std::to_string(slot) + "+Filler" + std::to_string(slot), from));
        }
        EXPECT_TRUE(watcher->login("Eve"));
        EXPECT_EQ(watcher->slot(), 5);
        return watcher;
    }

    ServerProcess server;
    quint16 port = 0;
};

TEST_F(EndToEndTest, ShortGameWithASpectator)
{
    PlayingTable ann(port, "Ann");
    ASSERT_EQ(ann.table.slot(), 1);
    std::unique_ptr<TestTable> eve = spectator(ann.table);
    ann.table.send("CMD_botspeed+1+0+");
    ann.table.send("CMD_startgame+Ann+s+");
    ASSERT_TRUE(eve->waitForWord(CMD_winner, 0, kGameTime));
    ASSERT_TRUE(ann.table.waitForWord(CMD_winner));

    const std::map<int, std::string> names{{1, "Ann"}, {2, "Klot"}, {3, "Klock"}, {4, "Kling"}};
    checkGame(*eve, 8, names);
    checkGame(ann.table, 8, names);
    EXPECT_EQ(ann.player->refusals(), 0);
    EXPECT_GT(ann.player->played(), 8 * 4);
    EXPECT_TRUE(eve->linesOf(CMD_mycards).empty());
    EXPECT_EQ(ann.table.linesOf(CMD_mycards).size(), 8u);
    // A short game leaves only GUILLOTINE and DOMINO to choose.
    for (const std::string& line : eve->linesOf(CMD_choosehand)) {
        EXPECT_TRUE(line.find("+5+0+") != std::string::npos || line.find("+6+0+") != std::string::npos) << line;
    }
}

TEST_F(EndToEndTest, FullGameWithATableLeavingOnItsTurnAndAnotherJoining)
{
    PlayingTable ann(port, "Ann");
    PlayingTable bob(port, "Bob");
    ASSERT_EQ(bob.table.slot(), 2);
    std::unique_ptr<TestTable> eve = spectator(ann.table);

    // Bob leaves when his turn comes in the middle of a trick of round 2.
    int round = 0;
    std::string previous;
    bool leave = false;
    bob.intercept = [&](std::string_view line) {
        if (startsWith(line, "CMD_startround+"))
            round = StartRound::read(restOf(line)).round;
        const bool midTrick = startsWith(previous, "CMD_placecard+");
        previous = std::string(line);
        if (round == 2 && midTrick && line == "CMD_nextplayer+2+")
            leave = true;
        return leave;
    };
    ann.table.send("CMD_botspeed+1+0+");
    ann.table.send("CMD_startgame+Ann+l+");
    ASSERT_TRUE(waitUntil([&] { return leave; }, kGameTime));
    const std::size_t from = eve->count();
    bob.table.close();
    ASSERT_TRUE(eve->waitFor("CMD_playerdisconnected+2+Bob", from));
    // Eve may still have been reading the trick's earlier cards when Bob left, so count from his
    // departure: the game waited for seat 2, and now the computer plays its card.
    const auto& seen = eve->lines();
    const std::size_t left =
        std::find(seen.begin() + from, seen.end(), "CMD_playerdisconnected+2+Bob") - seen.begin();
    ASSERT_TRUE(eve->waitForWord(CMD_placecard, left));
    EXPECT_TRUE(startsWith(eve->linesOf(CMD_placecard, left).front(), "CMD_placecard+2+"));

    // A table joining in round 5 takes seat 2 and is brought up to date.
    ASSERT_TRUE(eve->waitFor("CMD_startround+1+5+", from, kGameTime));
    PlayingTable cid(port, "Cid");
    ASSERT_EQ(cid.table.slot(), 2);
    ASSERT_TRUE(cid.table.waitForWord(CMD_mycards));
    std::vector<std::string> catchUp;
    for (const std::string& line : cid.table.lines()) {
        if (!startsWith(line, "CMD_sendlogininfo") && !startsWith(line, "CMD_newplayerinfo") &&
            !startsWith(line, "CMD_existingplayers"))
            catchUp.push_back(std::string(wordOf(line)));
    }
    // Game lines broadcast between the accept and the login may come first; the catch-up itself
    // arrives in one piece.
    const auto agame = std::find(catchUp.begin(), catchUp.end(), std::string(CMD_agame));
    ASSERT_GE(catchUp.end() - agame, 4);
    EXPECT_EQ(std::vector<std::string>(agame, agame + 4),
              (std::vector<std::string>{"CMD_agame", "CMD_scores", "CMD_handsused", "CMD_mycards"}));

    ASSERT_TRUE(eve->waitForWord(CMD_winner, from, kGameTime));
    const std::map<int, std::string> names{{1, "Ann"}, {2, "Cid"}, {3, "Klock"}, {4, "Kling"}};
    checkGame(*eve, 24, names);
    EXPECT_EQ(ann.player->refusals(), 0);
    EXPECT_EQ(bob.player->refusals(), 0);
}

} // namespace
