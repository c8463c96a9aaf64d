#include "tablesession.h"

#include "board.h"
#include "printers.h"
#include "tablerecorders.h"
#include "tablestate.h"

#include <gtest/gtest.h>

using namespace morlu::test;

namespace {

/// The session's handlers on their own dispatch table, for a table seated at slot 2 as "Ann".
class TableSessionTest : public ::testing::Test {
protected:
    TableSessionTest()
    {
        session.registerOn(commands);
        state.myname = QStringLiteral("Ann");
    }

    Board board;
    TableState state;
    ChatRecorder chat;
    HostRecorder host;
    TableEvents events;
    EventRecorder heard{events};
    TableSession session{board, state, chat, host, events};
    morlu::Dispatcher<> commands;
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
    EXPECT_EQ(host.sent, std::vector<std::string>{"CMD_logininfo+2+1.0.5+Ann\xFF"});
    EXPECT_EQ(heard.sounds, (QStringList{QStringLiteral("entered"), QStringLiteral("entered")}));
    EXPECT_EQ(board.seatName(3), QStringLiteral("Klock"));
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

} // namespace
