#pragma once

#include <QString>
#include <QTimer>

#include <cstddef>
#include <functional>

class Board;
class QAccessibleEvent;
class QLabel;
class TableModel;
struct TableState;

/**
 * What a screen reader hears of the table. Every seat strip is named with the seat's whole state
 * ("Klot, $9,600, director, on turn"), the contract entries, buttons and markers have names and
 * descriptions, and the moments a player waits for are announced through accessibility events: whose
 * turn it is, who chooses the contract, who took the trick, who won. Cards are named by CardPlace from
 * what they show, so nothing hidden is ever named.
 *
 * Everything it says of the game comes from the table's model, never from the widgets. The window
 * calls lineHandled() after every line from the host: what the line changed is announced at once, as an
 * Alert on the board's announcement label (label_announce), whose name is the text said; the names
 * and descriptions, which take longer to build, are brought up to date once the lines that arrived
 * together are handled and the event loop is next idle, so a burst of lines (a catch-up, a host that
 * sends fast) costs one renaming, not one per line.
 */
class TableAccessibility {
public:
    TableAccessibility(Board& board, const TableState& state, const TableModel& model);

    /** Brings the names up to date now and announces what changed since the last call. */
    void refresh();
    /**
     * After each line from the host: announces what changed since the last call now and brings the names
     * up to date when the event loop is next idle, once no line waits any more (see setLinesWaiting()).
     */
    void lineHandled();
    /** The lines from the host still waiting to be handled; none unless set. */
    void setLinesWaiting(std::function<std::size_t()> waiting) { m_waiting = std::move(waiting); }
    /** True while the names wait to be brought up to date after lineHandled(). */
    bool namesPending() const { return m_namesPending; }
    /**
     * While @p offline (the table has lost its host and is not seated again) nobody is described or
     * announced as on turn, as the turn line reads "Reconnecting to the host...", which is announced once
     * when the table goes offline; once back, the turn the host's catch-up names is announced again.
     * Refreshes the names.
     */
    void setOffline(bool offline);
    /** Says @p text now. */
    void announce(const QString& text);
    /** Where the events go: QAccessible::updateAccessibility unless a test listens instead. */
    void setEventSink(std::function<void(QAccessibleEvent*)> sink) { m_sink = std::move(sink); }

    /** "Klot, $9,600, director, on turn": the accessible name of seat @p seat's strip. */
    QString seatText(int seat) const;
    /** "$9600" as a screen reader should say it: "$9,600". */
    static QString money(const QString& bank);
    /** @p dollars as a screen reader should say it: "$9,600", "-$400". */
    static QString money(int dollars);

private:
    void refreshNames();
    void announceChanges();

    Board& m_board;
    const TableState& m_state;
    const TableModel& m_model;
    QLabel* m_announce;
    std::function<void(QAccessibleEvent*)> m_sink;
    std::function<std::size_t()> m_waiting;
    QTimer m_namesTimer; ///< single shot, 0 ms: armed only by the last waiting line handled
    bool m_namesPending = false;
    bool m_offline = false;
    int m_turnSeen = 0;
    int m_chooserSeen = 0;
    int m_takerSeen = 0;
    bool m_winnerSeen = false;
};
