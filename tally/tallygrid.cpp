#include "tallygrid.h"

#include <QStringDecoder>

namespace morlu {

namespace {

QStringList emptyRow()
{
    return QStringList(TallyGrid::kColumns, QString());
}

/// The lines of the text, each without its CR LF (or LF); a final line break ends the last line.
QList<QByteArray> splitLines(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

int readCount(const QList<QByteArray>& lines, int index, const char* what, int low, int high)
{
    if (index >= lines.size())
        throw TallyGridError(QStringLiteral("Tally grid: the %1 is missing").arg(QLatin1String(what)));
    const QByteArray& line = lines.at(index);
    bool ok = !line.isEmpty();
    for (char c : line)
        ok = ok && c >= '0' && c <= '9';
    const int value = ok && line.size() <= 9 ? line.toInt() : -1;
    if (!ok || value < low || value > high)
        throw TallyGridError(QStringLiteral("Tally grid: line %1: '%2' is not a valid %3 (%4 to %5)")
                                 .arg(index + 1)
                                 .arg(QString::fromLatin1(line), QLatin1String(what))
                                 .arg(low)
                                 .arg(high));
    return value;
}

} // namespace

TallyGrid::TallyGrid() : m_rows(1, QStringList(kColumns, QStringLiteral("0"))) {}

QString TallyGrid::cell(int column, int row) const
{
    return m_rows.at(std::size_t(row)).at(column);
}

void TallyGrid::setCell(int column, int row, const QString& text)
{
    m_rows.at(std::size_t(row))[column] = text;
}

void TallyGrid::appendRow(const QStringList& cells)
{
    QStringList row = cells.mid(0, kColumns);
    while (row.size() < kColumns)
        row.append(QString());
    m_rows.push_back(row);
}

void TallyGrid::removeRow(int row)
{
    if (row > 0 && row < rowCount())
        m_rows.erase(m_rows.begin() + row);
}

void TallyGrid::setRowCount(int count)
{
    m_rows.resize(std::size_t(qMax(count, 1)), emptyRow());
}

QByteArray TallyGrid::toText() const
{
    QByteArray text;
    const auto line = [&text](const QString& value) {
        QString clean = value;
        clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        text += clean.toUtf8();
        text += "\r\n";
    };
    line(QString::number(kColumns));
    line(QString::number(rowCount()));
    for (int column = 0; column < kColumns; ++column) {
        for (const QStringList& row : m_rows)
            line(row.at(column));
    }
    return text;
}

TallyGrid TallyGrid::fromText(const QByteArray& text)
{
    const QList<QByteArray> lines = splitLines(text);
    readCount(lines, 0, "column count", kColumns, kColumns);
    const int rows = readCount(lines, 1, "row count", 1, kMaxRows);
    const qsizetype expected = 2 + qsizetype(kColumns) * rows;
    if (lines.size() < expected)
        throw TallyGridError(QStringLiteral("Tally grid: %1 rows need %2 cell lines, the text has %3")
                                 .arg(rows)
                                 .arg(expected - 2)
                                 .arg(lines.size() - 2));
    if (lines.size() > expected)
        throw TallyGridError(
            QStringLiteral("Tally grid: unexpected text after the last cell, line %1").arg(expected + 1));

    TallyGrid grid;
    grid.m_rows.assign(std::size_t(rows), emptyRow());
    qsizetype index = 2;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < rows; ++row)
            grid.m_rows[std::size_t(row)][column] = decodeText(lines.at(index++));
    }
    return grid;
}

} // namespace morlu
