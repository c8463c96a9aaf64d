#pragma once

#include "tablemodel.h"

#include <QString>

#include <string_view>

class Board;
class TableEvents;
struct TableState;

/**
 * The display operations the round and game handlers share: clearing the board, showing the game
 * length, the contract and the turn, and the small steps several handlers repeat (naming the computer
 * seats, the contract counter, emptying a hand place, the DOMINO rank). It owns the table's model: every
 * handler gives it its line first (take()), the game log is drawn from the model's log as it grows, and
 * redraw() draws the whole board from the model at once (a game record replayed into a fresh model).
 *
 * Seats, slots and codes outside their tables degrade to a partial display and never fail. Nothing
 * here sends anything; the only event is the own-turn sound.
 */
class BoardDisplay {
public:
    BoardDisplay(Board& board, TableState& state, TableEvents& events);
    BoardDisplay(const BoardDisplay&) = delete;
    BoardDisplay& operator=(const BoardDisplay&) = delete;

    Board& board() { return m_board; }
    TableState& state() { return m_state; }
    /** What the host has said about the game; every handler feeds it its line first (take()). */
    TableModel& model() { return m_model; }
    const TableModel& model() const { return m_model; }
    /** Applies the message @p word with @p rest to the model, for the own slot the table knows, and
     *  draws the lines it added to the game log. False for a line that cannot be right: the model
     *  ignored it and the handler draws nothing of it. */
    bool take(std::string_view word, std::string_view rest);
    /**
     * Draws everything the model knows at once: every seat strip (name, bank, change, card count,
     * watching mark, card on the trick), the own hand, the DOMINO layout, the markers, the status, fee,
     * contract, rank, counter and game length lines, the chooser's marks, the winner and the game log.
     * What only the player's own actions show (the error panel, the quick instructions) is left alone.
     */
    void redraw();

    /** Clears the board: banks back to $10000, changes, counts, played cards, marks and markers. */
    void clearall();
    /** Shows the game length of the length field @p letter ("s", "h", anything else a full game), marks
     *  the contracts a shorter game leaves out and sets contracttotal. */
    void setgametype(const QString& letter);
    /** Shows contract @p code (1..6) on the contract line, in the game log and in the rank line; for DOMINO
     *  an empty layout and the model's card counts. */
    void setcontract(int code);
    /**
     * The turn line as the model has it, with the turn marker, the fee line and the contract chooser: the
     * seat that chooses, "One Moment Please.." between tricks and rounds, whose turn it is ("Your Turn."
     * for the own seat), or nothing when no game runs. No sound.
     */
    void showTurnLine();
    /**
     * The table has lost its host and tries to come back: the turn line says so, and the turn marker and
     * the contract chooser, which would invite a move the host cannot receive, are hidden.
     */
    void showReconnecting();
    /** Marks the turn of @p seat (0 = nobody) and tells the player when it is his own name's turn. */
    void getnextplayer(int seat);

    /**
     * Seat @p director chooses the round's contract: the director's crown on it, the status and fee
     * lines, and the chooser in front when it is this table's seat.
     */
    void showChoosing(int director);

    /** Seats 2..4 still reading "<Waiting>" get the computer name the table shows for them. */
    void nameComputerSeats();
    /** Counter "CONTRACT: c/total". */
    void showCounter();
    /** Empties own hand place @p place: no picture, hidden, slot 0; a place that does not exist is skipped. */
    void emptyHandPlace(int place);
    /** The DOMINO layout as the model has it: the card on top of each foundation, the start rank ("?"
     *  before the first card) and each seat's card count (none outside DOMINO). */
    void showDominoLayout();
    /** Each seat's DOMINO card count as the model has it ("CARDS: 7"; none outside DOMINO). */
    void showCardCounts();
    /** All four DOMINO rank labels show the name of @p rank (empty outside 1..8). */
    void showDominoRank(int rank);
    /** The game is over and this table's own seat won it (the winner text is its name). */
    bool ownWin() const;
    /** The winner panel's text: "NAME has Won the Game!", or "have" for the own win. */
    QString winnerText() const;

    /** "7", "8", ..., "A" for DOMINO rank 1..8; empty for anything else. */
    static QString dominoRankName(int rank);

private:
    Board& m_board;
    TableState& m_state;
    TableEvents& m_events;
    void drawNewLog();
    /// "Your Turn." or "NAME's turn." for @p seat.
    void showTurnStatus(int seat);

    TableModel m_model;
    qint64 m_logDrawn = 0; ///< model log lines drawn in the pane
};
