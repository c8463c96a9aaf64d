#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace morlu {

/// A grid text that does not follow the layout; the text says what is wrong and on which line.
class TallyGridError : public std::runtime_error {
public:
    explicit TallyGridError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/**
 * The tally's grid of text cells: 9 columns, row 0 the player's own record, each further row one
 * tallied opponent (column 0 the name, columns 1 to 4 the totals, 5 to 8 the counts of this run).
 *
 * Its text form is the layout kept inside the tally file: lines ended by CR LF, the column count, the
 * row count, then every cell column by column (all rows of column 0, then of column 1, ...). The reader
 * is strict: a column count other than 9, a row count outside 1 to kMaxRows, a count that is not a
 * plain decimal number, a missing cell line or text after the last cell is refused with TallyGridError.
 * Lines may end with LF alone. Text is written as UTF-8; text that is not valid UTF-8 is read as Latin-1.
 */
class TallyGrid {
public:
    static constexpr int kColumns = 9;
    /// Most rows a grid text may declare (the player and 9999 opponents).
    static constexpr int kMaxRows = 10000;

    /// One row, the player's own record, every cell "0".
    TallyGrid();

    int columnCount() const { return kColumns; }
    int rowCount() const { return int(m_rows.size()); }

    /// The text of a cell; column 0..8, row 0..rowCount()-1.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    /// One whole row, kColumns cells.
    QStringList row(int row) const { return m_rows.at(std::size_t(row)); }

    /// Appends a row with the given cells (padded with empty cells, extra cells dropped).
    void appendRow(const QStringList& cells);
    /// Removes one row; row 0 always stays.
    void removeRow(int row);
    /// Keeps rows 0..count-1 (count at least 1), adding empty rows when the grid grows.
    void setRowCount(int count);

    /**
     * The text form. A cell that holds a line break cannot be kept in it: its CR and LF characters are
     * written as blanks.
     */
    QByteArray toText() const;
    /// Reads the text form; throws TallyGridError on any departure from the layout.
    static TallyGrid fromText(const QByteArray& text);

    bool operator==(const TallyGrid& other) const { return m_rows == other.m_rows; }

private:
    std::vector<QStringList> m_rows;
};

} // namespace morlu
