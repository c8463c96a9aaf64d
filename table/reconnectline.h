#pragma once

class BoardDisplay;
class HintRequester;
class PlayableCards;
class TableAccessibility;

/**
 * What the board says while the table comes back after a lost connection. From the loss until the host
 * has seated the table again, the turn line reads "Reconnecting to the host...", whatever it said
 * before; the turn marker and the contract chooser are hidden, no card is marked playable or ringed as a
 * hint, since the host could not receive the move, and a screen reader hears of nobody on turn. Once the
 * host has seated the table, the turn line, the marker, the chooser and the names are drawn from the
 * model again, and the host's catch-up, which follows at once when a game runs, brings them up to date.
 *
 * A table that cannot come back keeps the reconnecting line until it ends.
 */
class ReconnectLine {
public:
    ReconnectLine(BoardDisplay& display, PlayableCards& playable, HintRequester& hints, TableAccessibility& access);
    ReconnectLine(const ReconnectLine&) = delete;
    ReconnectLine& operator=(const ReconnectLine&) = delete;

    /** The connection to the host is lost and the table tries to come back. */
    void lost();
    /** The host announced this table's login; ends the reconnecting line, if it is shown. */
    void seated();
    /** True from lost() until seated(). */
    bool reconnecting() const { return m_reconnecting; }

private:
    BoardDisplay& m_display;
    PlayableCards& m_playable;
    HintRequester& m_hints;
    TableAccessibility& m_access;
    bool m_reconnecting = false;
};
