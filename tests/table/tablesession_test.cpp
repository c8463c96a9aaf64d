#include "tablesession.h"

#include "board.h"
#include "printers.h"
#include "tablerecorders.h"
#include "tablestate.h"

#include <gtest/gtest.h>

using namespace morlu::test;

namespace {

/// The session's handlers on their own dispatch table, with what they write to.
struct SessionTable {
    SessionTable() { session.registerOn(commands); }

    Board board;
    TableState state;
    ChatRecorder chat;
    HostRecorder host;
    TableEvents events;
    EventRecorder heard{events};
    TableSession session{board, state, chat, host, events};
    morlu::Dispatcher<> commands;
};

/// A table seated at slot 2 as "Ann".
class TableSessionTest : public ::testing::Test, protected SessionTable {
protected:
    TableSessionTest() { state.myname = QStringLiteral("Ann"); }
};

// Every session word reaches its handler: each line writes its own system lines, nothing else does.
TEST_F(TableSessionTest, EachWordWritesItsLines)
{
    struct Row {
        const char* line;
        QStringList chat;
    };
    const Row rows[] = {
        {"CMD_sendlogininfo+2", {}},
        {"CMD_newplayerinfo+2+Ann",
         {QStringLiteral("0+You are Connected."), QStringLiteral("0+Press Ctrl-i for quick instructions.")}},
        {"CMD_existingplayers+3+Bob", {QStringLiteral("0+Bob is Connected.")}},
        {"CMD_playerdisconnected+3+Bob", {QStringLiteral("0+Bob disconnected.")}},
        {"CMD_havewrongversion+Cid", {QStringLiteral("0+Cid has a different version of the game then you.")}},
        {"CMD_wrongversion+", {QStringLiteral("0+You have a differnt version of the game then the host.")}},
    };
    for (const Row& row : rows) {
        chat.lines.clear();
        EXPECT_TRUE(commands.dispatch(row.line)) << row.line;
        EXPECT_EQ(chat.texts(), row.chat) << row.line;
        for (const auto& [line, colour] : chat.lines)
            EXPECT_EQ(colour, ChatSink::kSystemColour) << row.line;
    }
    EXPECT_EQ(host.sent, (std::vector<std::string>{"CMD_logininfo+2+1.0.5+Ann\xFF", "CMD_seatkey+2+\xFF"}));
    EXPECT_EQ(heard.sounds, (QStringList{QStringLiteral("entered"), QStringLiteral("entered")}));
    EXPECT_EQ(board.seatName(3), QStringLiteral("Klock"));
}

// A table whose name the host changed (taken already, or cleaned) is told the name it plays under.
TEST_F(TableSessionTest, TheOwnArrivalSaysTheNameTheHostGave)
{
    struct Row {
        const char* login;
        const char* arrival;
        QStringList chat;
    };
    const QString connected = QStringLiteral("0+You are Connected.");
    const QString instructions = QStringLiteral("0+Press Ctrl-i for quick instructions.");
    const Row rows[] = {
        {"CMD_sendlogininfo+2", "CMD_newplayerinfo+2+Ann", {connected, instructions}},
        {"CMD_sendlogininfo+2",
         "CMD_newplayerinfo+2+Ann (2)",
         {connected, QStringLiteral("0+The host seats you as Ann (2)."), instructions}},
        {"CMD_sendlogininfo+6",
         "CMD_newplayerinfo+6+Ann (2)",
         {connected, QStringLiteral("0+The host seats you as Ann (2)."), instructions,
          QStringLiteral("0+You are spying.")}},
        {"CMD_sendlogininfo+2", "CMD_newplayerinfo+3+Ann (2)", {QStringLiteral("0+Ann (2) is Connected.")}},
    };
    for (const Row& row : rows) {
        commands.dispatch(row.login);
        chat.lines.clear();
        commands.dispatch(row.arrival);
        EXPECT_EQ(chat.texts(), row.chat) << row.arrival;
    }
}

// A departure the host says is a removal, or the removal this table asked for, reads as one, once, for a
// player or a spectator; the table's own old connection goes without a word; any other departure still
// reads as a drop.
TEST(TableSessionRemoval, ARemovalReadsAsARemoval)
{
    // A step of a row that is no line: the table asks the host to remove the slot after the "+".
    const std::string_view asks = "(asks to remove)+";
    const QString connected = QStringLiteral("0+Bob is Connected.");
    const QString removed = QStringLiteral("0+Bob has been removed from the game.");
    const QString dropped = QStringLiteral("0+Bob disconnected.");
    struct Row {
        const char* what;
        std::vector<const char*> lines;
        QStringList chat;
    };
    const Row rows[] = {
        {"a removed player",
         {"CMD_existingplayers+3+Bob", "CMD_playerremoved+3+", "CMD_playerdisconnected+3+Bob"},
         {connected, removed}},
        {"a dropped player", {"CMD_existingplayers+3+Bob", "CMD_playerdisconnected+3+Bob"}, {connected, dropped}},
        {"a removed spectator",
         {"CMD_existingplayers+7+Bob", "CMD_playerremoved+7+", "CMD_playerdisconnected+7+Bob"},
         {connected, QStringLiteral("0+Bob is spying."), removed}},
        {"another slot removed",
         {"CMD_existingplayers+3+Bob", "CMD_playerremoved+4+", "CMD_playerdisconnected+3+Bob"},
         {connected, dropped}},
        {"the word counts once",
         {"CMD_existingplayers+3+Bob", "CMD_playerremoved+3+", "CMD_playerdisconnected+3+Bob",
          "CMD_existingplayers+3+Bob", "CMD_playerdisconnected+3+Bob"},
         {connected, removed, connected, dropped}},
        {"the word alone", {"CMD_existingplayers+3+Bob", "CMD_playerremoved+3+"}, {connected}},
        {"the table's own old connection, closed as it comes back",
         {"CMD_sendlogininfo+3", "CMD_newplayerinfo+3+Bob", "CMD_playerdisconnected+3+Bob"},
         {QStringLiteral("0+You are Connected."), QStringLiteral("0+Press Ctrl-i for quick instructions.")}},
        {"a new login forgets it",
         {"CMD_sendlogininfo+2", "CMD_existingplayers+3+Bob", "CMD_playerremoved+3+", "CMD_sendlogininfo+2",
          "CMD_existingplayers+3+Bob", "CMD_playerdisconnected+3+Bob"},
         {connected, connected, dropped}},
        {"a removal this table asked for",
         {"CMD_existingplayers+3+Bob", "(asks to remove)+3", "CMD_playerdisconnected+3+Bob"},
         {connected, removed}},
        {"a spectator this table asked to remove",
         {"CMD_existingplayers+7+Bob", "(asks to remove)+7", "CMD_playerdisconnected+7+Bob"},
         {connected, QStringLiteral("0+Bob is spying."), removed}},
        {"asked for and told, read once",
         {"CMD_existingplayers+3+Bob", "(asks to remove)+3", "CMD_playerremoved+3+", "CMD_playerdisconnected+3+Bob",
          "CMD_existingplayers+3+Bob", "CMD_playerdisconnected+3+Bob"},
         {connected, removed, connected, dropped}},
        {"asked for once the slot had gone: the next table there drops",
         {"CMD_existingplayers+3+Bob", "CMD_playerdisconnected+3+Bob", "(asks to remove)+3",
          "CMD_existingplayers+3+Bob", "CMD_playerdisconnected+3+Bob"},
         {connected, dropped, connected, dropped}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SessionTable table;
        for (const std::string_view line : row.lines) {
            if (line.starts_with(asks))
                table.session.removalAsked(line[asks.size()] - '0');
            else
                EXPECT_TRUE(table.commands.dispatch(line)) << line;
        }
        EXPECT_EQ(table.chat.texts(), row.chat);
    }
}

// Every name in a system line stands isolated, so a right-to-left override in it reaches nothing after it.
TEST_F(TableSessionTest, NamesInSystemLinesAreIsolated)
{
    const QString eve = QStringLiteral("Eve\u202EtsoH");
    const QString shown = QChar(0x2068) + eve + QChar(0x2069);
    struct Row {
        const char* line;
        QString said;
    };
    const Row rows[] = {
        {"CMD_existingplayers+3+Eve\xE2\x80\xAEtsoH", QStringLiteral("0+") + shown + QStringLiteral(" is Connected.")},
        {"CMD_playerdisconnected+3+Eve\xE2\x80\xAEtsoH",
         QStringLiteral("0+") + shown + QStringLiteral(" disconnected.")},
        {"CMD_existingplayers+7+Eve\xE2\x80\xAEtsoH", QStringLiteral("0+") + shown + QStringLiteral(" is spying.")},
        {"CMD_playerdisconnected+7+Eve\xE2\x80\xAEtsoH", QStringLiteral("0+") + shown + QStringLiteral(" has left.")},
        {"CMD_havewrongversion+Eve\xE2\x80\xAEtsoH",
         QStringLiteral("0+") + shown + QStringLiteral(" has a different version of the game then you.")},
    };
    state.myseat = 2;
    for (const Row& row : rows) {
        chat.raw.clear();
        EXPECT_TRUE(commands.dispatch(row.line)) << row.line;
        EXPECT_TRUE(chat.raw.contains(row.said)) << row.line;
    }
}

// The own seat's name strip is marked from the login on, so a player of a full table finds his seat; a
// spectator's table marks none.
TEST_F(TableSessionTest, TheOwnSeatIsMarkedAtLogin)
{
    struct Row {
        const char* login;
        int marked;
    };
    const Row rows[] = {{"CMD_sendlogininfo+3", 3}, {"CMD_sendlogininfo+1", 1}, {"CMD_sendlogininfo+6", 0}};
    for (const Row& row : rows) {
        commands.dispatch(row.login);
        EXPECT_EQ(board.ownSeat(), row.marked) << row.login;
        for (int seat = 1; seat <= 4; ++seat)
            EXPECT_EQ(board.nameLabel(seat)->isHighlighted(), seat == row.marked) << row.login << " " << seat;
    }
}

// After a drop the first slot offer on the new connection is answered with the seat key, once; whatever
// the host offers next is logged in to, and the arrivals are told afresh. Only a table that may come
// back asks for a key.
TEST(TableSessionRejoin, TheFirstOfferAfterADropIsAnsweredWithTheKeyOnce)
{
    const std::string key = "0123456789abcdef0123456789abcdef";
    const struct {
        const char* name;
        bool ishost;
        std::string keyLine; ///< what the host answered the first login's request, if anything
        std::vector<std::string> offers;
        std::vector<std::string> sent; ///< after the first login
        int seat;
    } rows[] = {
        {"back to its seat",
         false,
         "CMD_seatkey+2+" + key + "+",
         {"CMD_sendlogininfo+5", "CMD_sendlogininfo+2"},
         {"CMD_rejoin+5+" + key + "+\xFF", "CMD_logininfo+2+1.0.5+Ann\xFF", "CMD_seatkey+2+\xFF"},
         2},
        {"the key failed: where it is offered",
         false,
         "CMD_seatkey+2+" + key + "+",
         {"CMD_sendlogininfo+5", "CMD_sendlogininfo+5"},
         {"CMD_rejoin+5+" + key + "+\xFF", "CMD_logininfo+5+1.0.5+Ann\xFF", "CMD_seatkey+5+\xFF"},
         5},
        {"an older host gave no key: a newcomer",
         false,
         "",
         {"CMD_sendlogininfo+5"},
         {"CMD_logininfo+5+1.0.5+Ann\xFF", "CMD_seatkey+5+\xFF"},
         5},
        {"a key for another slot is not kept",
         false,
         "CMD_seatkey+3+" + key + "+",
         {"CMD_sendlogininfo+5"},
         {"CMD_logininfo+5+1.0.5+Ann\xFF", "CMD_seatkey+5+\xFF"},
         5},
        {"a malformed key is not kept",
         false,
         "CMD_seatkey+2+XYZ+",
         {"CMD_sendlogininfo+5"},
         {"CMD_logininfo+5+1.0.5+Ann\xFF", "CMD_seatkey+5+\xFF"},
         5},
        {"the host player's table never asks", true, "", {"CMD_sendlogininfo+1"}, {"CMD_logininfo+1+1.0.5+Ann\xFF"}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SessionTable table;
        table.state.myname = QStringLiteral("Ann");
        table.state.ishost = row.ishost;
        std::vector<std::string> kept;
        table.session.setKeyKeeper([&kept](const std::string& given) { kept.push_back(given); });
        for (const std::string& line : {std::string("CMD_sendlogininfo+2"), std::string("CMD_existingplayers+3+Bob"),
                                        std::string("CMD_existingplayers+6+Zed"), row.keyLine}) {
            if (!line.empty())
                table.commands.dispatch(line);
        }
        const bool good = row.keyLine == "CMD_seatkey+2+" + key + "+";
        EXPECT_EQ(kept, good ? std::vector<std::string>{key} : std::vector<std::string>())
            << "a good key is kept beyond the program";
        table.host.sent.clear();
        table.state.rejoining = true;
        for (const std::string& offer : row.offers)
            table.commands.dispatch(offer);
        EXPECT_EQ(table.host.sent, row.sent);
        EXPECT_EQ(table.state.myseat, row.seat);
        EXPECT_FALSE(table.state.rejoining);
        EXPECT_EQ(table.state.seatkey, "") << "a key is good for one try";
        EXPECT_EQ(table.session.spys(), QStringList()) << "the host tells the spectators again";
        EXPECT_EQ(table.board.seatName(3), table.board.computerName(3)) << "and the players";
    }
}

} // namespace

// A host that announces spectators over and over, or in slots that do not exist, keeps the list to one
// entry per spectator slot.
TEST_F(TableSessionTest, TheSpectatorListHoldsOneEntryPerSpectatorSlot)
{
    for (int i = 0; i < 50; ++i)
        commands.dispatch("CMD_newplayerinfo+" + std::to_string(5 + i % 5) + "+Eve" + std::to_string(i));
    commands.dispatch("CMD_existingplayers+7+Fay");
    commands.dispatch("CMD_newplayerinfo+42+Zed");
    commands.dispatch("CMD_newplayerinfo+-6+Zed");
    EXPECT_EQ(session.spys(),
              (QStringList{QStringLiteral("5: Eve45"), QStringLiteral("6: Eve46"), QStringLiteral("8: Eve48"),
                           QStringLiteral("9: Eve49"), QStringLiteral("7: Fay")}));
}
