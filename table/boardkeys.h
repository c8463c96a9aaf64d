#pragma once

#include <QObject>

#include <functional>

class Board;
class CardPlace;
class PlayerInput;

/**
 * Play by keyboard: the keys pressed while the board (or one of its cards) has the focus, turned into
 * the same requests a click makes, through PlayerInput, so the host judges them alike.
 *
 * - 1 to 6 while the contract chooser is open: choose the contract at that place of its list;
 * - 1 to 8 otherwise: play the card at that place of the hand, counted from the left among the cards
 *   still held (the card takes the focus);
 * - Left and Right: move the focus along the hand; Enter or Space: play the card that has the focus;
 * - H: ask for a hint (the window's HintRequester decides whether the player may);
 * - Esc: close the quick instructions, else the error panel, else the winner panel; with nothing to
 *   close, bring the keys back to the board (from the chat entry, whose Esc reaches the board).
 *
 * Text entries on the board (the chat's) keep their keys: they take them before the board hears them.
 */
class BoardKeys : public QObject {
    Q_OBJECT

public:
    BoardKeys(Board& board, PlayerInput& input, QObject* parent = nullptr);

    /** What the key H does: ask the host for a hint. */
    void setHintRequest(std::function<void()> request) { m_hint = std::move(request); }

    /** Handles one key; false when it means nothing on the board. */
    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The @p n-th card still held (1-based, from the left); nullptr when there are fewer.
    CardPlace* heldCard(int n) const;
    /// The hand card that has the focus; nullptr when none has.
    CardPlace* focusedCard() const;
    void moveFocus(int step);
    bool closePanel();

    Board& m_board;
    PlayerInput& m_input;
    std::function<void()> m_hint;
};
