#pragma once

#include "tallystore.h"

#include <QObject>
#include <QString>
#include <QStringList>

class TableModel;
class Ttallylist;
class QWidget;

/**
 * The table's tally: it keeps the TallyStore and its dialog (Ttallylist), counts every finished game
 * the table reports (TableEvents::gameFinished, already decided as "addtomine", a winner's name, or
 * not reported at all for a tie or a spectator) against the other players now at the table, and
 * keeps the tally file. Who sits at the table, and which seat is the own, it reads from the table's model.
 *
 * Without a file (useFile) the tally lives in memory only, as in tests. With one it is read at once
 * and written after every counted game, after every change made in the dialog, and at the end
 * (save(), which the window calls when it closes, whatever closes it), each time replacing the file
 * atomically: a finished game is never lost, not even to a crash or a killed program. A save that
 * fails is reported once (saveFailed) until a save succeeds again; every later save tries again.
 */
class TallyRecorder : public QObject {
    Q_OBJECT

public:
    /** @p window: the table window the dialog belongs to. */
    TallyRecorder(const TableModel& model, const QPixmap& tile, QWidget* window);

    morlu::TallyStore& store() { return m_store; }
    Ttallylist& dialog() { return *m_dialog; }

    /**
     * Reads the tally file at @p path and keeps the tally there from now on. A file that cannot be read
     * leaves an empty tally; takeLoadError() then tells why, once.
     */
    void useFile(const QString& path);
    QString path() const { return m_path; }
    /** Why the tally file could not be read, for the player; empty after the first call. */
    QString takeLoadError();

    /** "Players In Current Game": the names of seats 1 to 4 but the own one that do not read "<Waiting>". */
    QStringList playersInCurrentGame() const;

    /** A finished game: @p winner is the winner's name or "addtomine". Counts it and saves. */
    void addgame(const QString& winner);
    /** "View Tally": shows the dialog with the players now at the table. */
    void ViewTally1Click();
    /** Writes the tally file, if there is one. False when it could not be written (logged, and reported once). */
    bool save();

signals:
    /** A save failed after the last one succeeded: @p text, for the player, names the file and the reason. */
    void saveFailed(const QString& text);

private:
    const TableModel& m_model;
    QWidget* m_window;
    morlu::TallyStore m_store;
    Ttallylist* m_dialog = nullptr;
    QString m_path;
    QString m_loadError;
    bool m_failureShown = false;
};
