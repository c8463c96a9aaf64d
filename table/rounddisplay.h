#pragma once

#include <QString>

#include <string_view>

class Board;
class TableServices;
struct TableState;

/**
 * The first half of the table's game display: the four display operations every game handler shares
 * (clearall, setgametype, setcontract, getnextplayer) and the handlers of the messages that open a
 * game and a round and pass the turn.
 *
 * Every handler takes the rest of its message line after "CMD_word+" and reads all of it with the
 * message's reader before it touches the board, so a numeric field that is not a whole number throws
 * morlu::FieldError and leaves the board, the state and the services untouched. Seats, slots and codes
 * outside their tables degrade to a partial display and never fail. Nothing here sends anything.
 */
class RoundDisplay {
public:
    RoundDisplay(Board& board, TableState& state, TableServices& services);
    virtual ~RoundDisplay() = default;
    RoundDisplay(const RoundDisplay&) = delete;
    RoundDisplay& operator=(const RoundDisplay&) = delete;

    /** Clears the board: banks back to $10000, changes, counts, played cards, marks and markers. */
    void clearall();
    /** Shows the game length for letter "s", "h" or any other (full game) and sets contracttotal. */
    void setgametype(const QString& letter);
    /** Shows contract @p code (1..6) on the contract line, in the game log and in the rank line. */
    void setcontract(int code);
    /** Marks the turn of @p seat (0 = nobody) and tells the player when it is his own name's turn. */
    void getnextplayer(int seat);

    // Handlers, by command: CMD_startgame, CMD_startround, CMD_mycards, CMD_choosehand,
    // CMD_alreadychoose, CMD_nextplayer, CMD_handsused, CMD_justwatching.
    void startthegame(std::string_view rest);
    void startround(std::string_view rest);
    void mycards(std::string_view rest);
    void choosehand(std::string_view rest);
    void alreadychoose(std::string_view rest);
    /** CMD_nextplayer: reads the seat and shows whose turn it is. */
    void getnextplayer(std::string_view rest);
    void handsused(std::string_view rest);
    void justwatching(std::string_view rest);

protected:
    /** Chat system line: "0+" and @p text in the system colour. */
    void systemLine(const QString& text);
    /** Seats 2..4 still reading "<Waiting>" get the computer name the table shows for them. */
    void nameComputerSeats();
    /** Counter "CONTRACT: c/total". */
    void showCounter();
    /** Empties own hand place @p place: no picture, hidden, slot 0; a place that does not exist is skipped. */
    void emptyHandPlace(int place);
    /** All four DOMINO rank labels show the name of @p rank (empty outside 1..8). */
    void showDominoRank(int rank);
    static QString dominoRankName(int rank);

    Board& m_board;
    TableState& m_state;
    TableServices& m_services;
};
