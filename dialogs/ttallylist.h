#pragma once

#include <QDialog>
#include <QPixmap>
#include <QStringList>

#include <array>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace morlu {
class TallyStore;
} // namespace morlu

/**
 * The tally dialog "Morlu - Tally List": the player's head-to-head record against the opponents he
 * follows. "Players Being Tallied" (listbox_tally) lists them, ticked; selecting one shows its record
 * under "Total" and "Session"; unticking one offers to delete it. "Players In Current Game" (checklist)
 * lists the other players now at the table; ticking one starts tallying him. "Your Total Tally" shows
 * the games the player finished and won; "Tally Reset" erases everything after a confirmation.
 *
 * The dialog is a view and editor of a TallyStore it does not own; the table counts the games in the
 * store and tells the dialog to show them again (showCounts). It lives as long as the program and is
 * only shown and hidden; it is not modal. Its questions go through MessageBox, so tests answer them.
 */
class Ttallylist : public QDialog {
    Q_OBJECT

public:
    explicit Ttallylist(morlu::TallyStore& store, const QPixmap& tile = QPixmap(), QWidget* parent = nullptr);

    /** Fills "Players Being Tallied" and "Your Total Tally" from the store (after loading or a reset). */
    void loadtally();
    /** Refreshes "Players In Current Game" with @p names, each ticked when already tallied. */
    void setPlayersInCurrentGame(const QStringList& names);
    /** Shows the counts again after a game was counted: the player's totals and the selected record. */
    void showCounts();

    /** Ticking entry @p row of "Players In Current Game": starts tallying that player. */
    void checklistClickCheck(int row);
    /** Unticking entry @p row of "Players Being Tallied": asks, then deletes that record or ticks it again. */
    void listbox_tallyClickCheck(int row);
    /** Selecting entry @p row of "Players Being Tallied": shows that record. */
    void listbox_tallyClick(int row);
    /** "Tally Reset": erases the whole tally after a confirmation. */
    void button_resetClick();
    /** "Done": hides the dialog. */
    void button_doneClick() { hide(); }

    /** Shows the dialog centred on @p window (or where it is, without one) and brings it forward. */
    void showCentredOn(const QWidget* window);

signals:
    /** The player changed the tally: a player added or deleted, or the tally reset. */
    void tallyEdited();

private:
    void buildLists();
    void buildRecord();
    void buildOwnTally();
    /// Shows the record of tallied entry @p row, or clears the record for -1.
    void showRecord(int row);
    void itemChanged(QListWidgetItem* item);
    /// Adds an entry to @p list with @p checked, without reporting it as a click.
    void appendChecked(QListWidget* list, const QString& text, bool checked);
    void setChecked(QListWidgetItem* item, bool checked);

    morlu::TallyStore& m_store;
    QListWidget* m_tallied = nullptr;
    QListWidget* m_inGame = nullptr;
    std::array<QLabel*, 8> m_values{};
    std::array<QLabel*, 4> m_mine{};
    QLabel* m_hisName = nullptr;
    QLabel* m_hisNameTop = nullptr;
    /// Set while the dialog itself ticks or unticks entries, which are no clicks of the player.
    bool m_filling = false;
};
