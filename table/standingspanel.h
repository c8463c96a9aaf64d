#pragma once

#include <QString>
#include <QWidget>

#include <array>

class Board;
class FitLabel;
class TableModel;

/**
 * The final standings, shown under the winner text once the host has named the winner: one row per
 * seat in seat order with the seat, the name, the bank, the change over the game, the rounds won and
 * the contracts directed. The winners' rows (the highest bank, as the host decides) are drawn in gold
 * with a star, the own seat's row on a lighter band; a spectator's table has no own row. A table that
 * came into the game late says under the rows from which round it counted the rounds won.
 *
 * Everything is read from the table's model when it changes; the panel hides as soon as the model no
 * longer holds a finished game (a new game, a catch-up), and with the winner text when the player
 * closes it. It is a child of the board, placed in board units, so it scales with it. Each row carries
 * an accessible name that says the whole row.
 */
class StandingsPanel : public QWidget {
    Q_OBJECT

public:
    enum Column { SeatColumn, NameColumn, BankColumn, ChangeColumn, RoundsColumn, DirectedColumn, ColumnCount };

    /** Builds the hidden panel on @p board, following @p model (which must outlive it). */
    StandingsPanel(Board& board, const TableModel& model);

    /** The cell of @p seat (1..4) in @p column; nullptr outside. Row 0 is the header. */
    FitLabel* cell(int seat, Column column) const;
    /** The row of @p seat (1..4), whose accessible name reads the whole row; nullptr outside. */
    QWidget* row(int seat) const;
    /** The line under the rows (the late start of the count); empty for a table there from the start. */
    QString footnote() const;

    /** "+800", "-400", "0". */
    static QString signedText(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /** Fills the rows from the model and shows the panel once the game is over; hides it otherwise. */
    void refresh();

    const TableModel& m_model;
    /// Index 0 is the header row.
    std::array<QWidget*, 5> m_rows{};
    std::array<std::array<FitLabel*, ColumnCount>, 5> m_cells{};
    FitLabel* m_footnote = nullptr;
    QWidget* m_winner = nullptr; ///< the board's winner panel, which the standings close with
    int m_own = 0;
};
