#pragma once

#include "dispatcher.h"

#include <string_view>

class Board;
class BoardDisplay;
class ChatSink;
class TableEvents;
struct TableState;

/**
 * The handlers of the messages that open a game and a round, deal the hand, settle the contract and
 * pass the turn: CMD_startgame, CMD_startround, CMD_mycards, CMD_choosehand, CMD_alreadychoose,
 * CMD_nextplayer, CMD_handsused and CMD_justwatching.
 *
 * Every handler takes the rest of its message line after "CMD_word+" and reads all of it with the
 * message's reader before it touches the board, so a numeric field that is not a whole number throws
 * morlu::FieldError and leaves the board, the state, the chat and the events untouched. Seats, slots
 * and codes outside their tables degrade to a partial display and never fail. Nothing here sends
 * anything.
 */
class RoundDisplay {
public:
    RoundDisplay(BoardDisplay& display, ChatSink& chat, TableEvents& events);
    RoundDisplay(const RoundDisplay&) = delete;
    RoundDisplay& operator=(const RoundDisplay&) = delete;

    /** Registers every handler below under its command word. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    void startthegame(std::string_view rest);
    void startround(std::string_view rest);
    void mycards(std::string_view rest);
    void choosehand(std::string_view rest);
    void alreadychoose(std::string_view rest);
    /** CMD_nextplayer: reads the seat and shows whose turn it is. */
    void getnextplayer(std::string_view rest);
    void handsused(std::string_view rest);
    void justwatching(std::string_view rest);

private:
    BoardDisplay& m_display;
    Board& m_board;
    TableState& m_state;
    ChatSink& m_chat;
    TableEvents& m_events;
};
