#pragma once

#include "tallygrid.h"

#include <QString>
#include <QStringList>

namespace morlu {

/**
 * The player's head-to-head record against the opponents he chose to follow, kept across program runs
 * in the tally file. Row 0 of the grid is the player (games finished, games won); each further row is
 * one tallied opponent in the order of the "Players Being Tallied" list: games together, his wins, the
 * player's wins, games neither won, in total (columns 1 to 4) and in this run (columns 5 to 8).
 *
 * The store is the model behind the tally dialog: the table only reports finished games (addgame) and
 * the dialog edits the list. Loading never throws: an unreadable file leaves an empty tally, says why
 * once (loadError()) and is kept aside as "<file>.bad" when the next save replaces it. Saving goes
 * through TallyFile, which replaces the file atomically, so a failed save leaves the old tally intact.
 */
class TallyStore {
public:
    /// The literal a table reports when its own player won.
    static constexpr const char* kAddToMine = "addtomine";

    TallyStore() = default;

    /// The grid: row 0 the player, rows 1.. the opponents in list order.
    const TallyGrid& grid() const { return m_grid; }
    /// The tallied opponents' names, in list order (row i + 1 for entry i).
    QStringList tallied() const;
    /// List index of @p name among the tallied opponents (exact comparison), -1 when not tallied.
    int indexOf(const QString& name) const;

    /**
     * Counts a finished game: @p winner is the winner text or kAddToMine; @p atTable the other players'
     * names now shown at the table. The player's games (and wins for kAddToMine) increase; every tallied
     * opponent at the table counts the game and who won it. A tie is never reported here (the table
     * does not call addgame for it).
     */
    void addgame(const QString& winner, const QStringList& atTable);
    /// Starts tallying @p name (a ticked name of "Players In Current Game"); false when already tallied.
    bool addOpponent(const QString& name);
    /// Deletes the record of the opponent at list index @p index (moverow); false for a bad index.
    bool removeOpponent(int index);
    /// Erases the whole tally: row 0 at "0", no opponents.
    void reset();

    /// Columns 1 to 8 of the opponent at list index @p index, as shown in the dialog; empty for a bad index.
    QStringList record(int index) const;
    /// Row 0: games the player finished / won.
    QString myGames() const { return m_grid.cell(1, 0); }
    QString myWins() const { return m_grid.cell(2, 0); }

    /**
     * Reads the tally file at @p path, and zeroes the counts of this run (loadtally). A missing file is
     * an empty tally. An unreadable one leaves an empty tally and sets loadError(); it is not touched
     * until the next save moves it aside.
     */
    void load(const QString& path);
    /// Why the last load failed; empty when it did not.
    QString loadError() const { return m_loadError; }
    /**
     * Writes the tally to @p path (the file loaded from, normally). A file that failed to load is first
     * renamed to "<path>.bad" (replacing an older one). Returns false, with saveError(), when nothing
     * could be written; the old file then stays as it was.
     */
    bool save(const QString& path);
    QString saveError() const { return m_saveError; }

    /// Where the tally file lives: beside the program, or in the user's data folder (see storagePath()).
    static QString defaultPath();

    /// Adds 1 to cell (@p column, @p row), reading an empty or unreadable cell as 0; returns the new value.
    int addit(int column, int row);

private:
    void startRun();

    TallyGrid m_grid;
    QString m_loadError;
    QString m_saveError;
    bool m_unreadable = false;
};

} // namespace morlu
