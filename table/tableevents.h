#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

/**
 * The game events the table's listeners care about, reported by the display and input handlers and
 * heard by whoever connects: the sound player (soundRequested), the tally (gameFinished), the "Just
 * Watch" menu item (justWatchChanged), the host player's controls (seatGiven), the board coming back
 * after a lost connection (seatConfirmed) and the spy list (spysChanged). The handlers never know who
 * listens.
 *
 * It also holds the turn sound choice, which decides the name of the own-turn sound.
 */
class TableEvents : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    /** Asks for a game-event sound by its lower-case name ("entered", "placecard", "turn", ...). */
    void playsounds(const QString& name);
    /** A finished game for the tally: the winner text, or the literal "addtomine" for an own win. */
    void addgame(const QString& winner);
    /** Sets or removes the check mark of the "Just Watch" menu item. */
    void setJustWatchChecked(bool checked);
    /** The host gave this table its slot (login). */
    void giveSeat(int slot);
    /** The host announced this table's own arrival in @p slot: the login is complete; a catch-up follows
     *  at once when a game runs. */
    void confirmSeat(int slot);
    /** The spectators changed: @p entries, "slot: name" each. */
    void setSpys(const QStringList& entries);

    /** 1 when the "New" turn sound is chosen, else 0 (the "Classic" one). */
    int chosenturnsound() const { return m_chosenturnsound; }
    void setChosenturnsound(int choice) { m_chosenturnsound = choice; }

signals:
    void soundRequested(const QString& name);
    void gameFinished(const QString& winner);
    void justWatchChanged(bool checked);
    void seatGiven(int slot);
    void seatConfirmed(int slot);
    void spysChanged(const QStringList& entries);

private:
    int m_chosenturnsound = 0;
};
