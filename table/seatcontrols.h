#pragma once

#include <QObject>

class Board;
class HostRequests;
class QAction;
class QMenu;
struct TableState;

/**
 * The table's side of watching and removing. "Just Watch" asks the host to let the computer play the
 * own seat, or to give it back; the player popup popup_kick on the name labels of seats 2 to 4 lets the
 * host player remove that player ("Remove From Game") or set and unset watching for the seat; kicking
 * asks the host to remove a slot (also for the spy list's "Remove From Game") and says so
 * (removalAsked()), so that the table can read the departure that follows as a removal.
 *
 * The host player is the table in slot 1, whether its program runs the host or it joined a dedicated
 * one; the popup's entries are enabled for it alone. The table only asks: the host decides, and the
 * table shows the result when the host reports it. Requests the table may not make are not sent.
 */
class SeatControls : public QObject {
    Q_OBJECT

public:
    /** Attaches the popup to the name labels of seats 2 to 4 of @p board. */
    SeatControls(Board& board, const TableState& state, HostRequests& host, QObject* parent = nullptr);

    QMenu* popup() const { return m_popup; }
    QAction* removeAction() const { return m_remove; }
    QAction* setWatchAction() const { return m_setWatch; }
    QAction* unsetWatchAction() const { return m_unsetWatch; }
    /** The seat of the name label the popup was last opened on; 0 before. */
    int targetSeat() const { return m_target; }

    /** Before the popup opens on the name label of @p seat: sets the target and the entries' enabling. */
    void label_playername1ContextPopup(int seat);
    void RemoveFromGame1Click();
    void SettoJustWatch1Click();
    void UnsetJustWatch1Click();
    /** Asks the host to remove @p slot; only the host player's connected table asks. */
    void kicking(int slot);

    /** "Just Watch": start watching, or play again when the own seat is watching. */
    void JustWatch1Click();
    /** Whether the host last reported the own seat as watching (the item's check mark). */
    bool watching() const { return m_watching; }
    void setWatching(bool watching) { m_watching = watching; }

signals:
    /** kicking() has asked the host to remove @p slot. */
    void removalAsked(int slot);

private:
    void sendJustWatch(int seat, bool watch);

    Board& m_board;
    const TableState& m_state;
    HostRequests& m_host;
    QMenu* m_popup = nullptr;
    QAction* m_remove = nullptr;
    QAction* m_setWatch = nullptr;
    QAction* m_unsetWatch = nullptr;
    int m_target = 0;
    bool m_watching = false;
};
