#pragma once

#include <QString>

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
 * turn it is, who took the trick, who won. Cards are named by CardPlace from what they show, so nothing
 * hidden is ever named.
 *
 * Everything it says of the game comes from the table's model, never from the widgets. The window
 * calls refresh() after every line from the host; announcements go out as an Alert on the
 * board's announcement label (label_announce), whose name is the text said.
 */
class TableAccessibility {
public:
    TableAccessibility(Board& board, const TableState& state, const TableModel& model);

    /** Brings the names up to date and announces what changed since the last call. */
    void refresh();
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
    Board& m_board;
    const TableState& m_state;
    const TableModel& m_model;
    QLabel* m_announce;
    std::function<void(QAccessibleEvent*)> m_sink;
    bool m_offline = false;
    int m_turnSeen = 0;
    int m_takerSeen = 0;
    bool m_winnerSeen = false;
};
