#pragma once

#include "dispatcher.h"

#include <string_view>

class Board;
class BoardDisplay;
class ChatSink;
class TableEvents;
struct TableState;

/**
 * The handlers of the messages that play a trick, a DOMINO layout and a game out: CMD_starthand,
 * CMD_placecard, CMD_dplacecard, CMD_endhand, CMD_took, CMD_scores, CMD_dendhand, CMD_aerror,
 * CMD_agame (the catch-up of a table that arrives mid-game), CMD_handover (a host's word after the
 * catch-up, to a table that asked for its seat key: the hand it showed is over), CMD_dlayout (after it:
 * the DOMINO layout and card counts the catch-up could not give) and CMD_winner.
 *
 * Handlers throw morlu::FieldError on a malformed numeric field and then change nothing; the
 * dispatcher's owner catches and logs it. Nothing here sends anything.
 */
class GameDisplay {
public:
    GameDisplay(BoardDisplay& display, ChatSink& chat, TableEvents& events);
    GameDisplay(const GameDisplay&) = delete;
    GameDisplay& operator=(const GameDisplay&) = delete;

    /** Registers every handler below under its command word. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    void starthand(std::string_view rest);
    void placecard(std::string_view rest);
    void dplacecard(std::string_view rest);
    void endhand(std::string_view rest);
    void took(std::string_view rest);
    void scores(std::string_view rest);
    void dendhand(std::string_view rest);
    void handover(std::string_view rest);
    void dlayout(std::string_view rest);
    void aerror(std::string_view rest);
    void agame(std::string_view rest);
    void winner(std::string_view rest);

private:
    BoardDisplay& m_display;
    Board& m_board;
    TableState& m_state;
    ChatSink& m_chat;
    TableEvents& m_events;
};
