#include "tallystore.h"

#include "storagelocation.h"
#include "tallyfile.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

namespace morlu {

namespace {

constexpr int kTotalGames = 1;
constexpr int kTotalHisWins = 2;
constexpr int kTotalMyWins = 3;
constexpr int kTotalNeither = 4;
constexpr int kRunOffset = 4; ///< columns 5..8 repeat 1..4 for this run

} // namespace

QStringList TallyStore::tallied() const
{
    QStringList names;
    for (int row = 1; row < m_grid.rowCount(); ++row)
        names.append(m_grid.cell(0, row));
    return names;
}

int TallyStore::indexOf(const QString& name) const
{
    for (int row = 1; row < m_grid.rowCount(); ++row) {
        if (m_grid.cell(0, row) == name)
            return row - 1;
    }
    return -1;
}

int TallyStore::addit(int column, int row)
{
    bool ok = false;
    const int value = m_grid.cell(column, row).toInt(&ok);
    // A cell that does not hold a number counts from 0 rather than stopping the count.
    const int next = (ok ? value : 0) + 1;
    m_grid.setCell(column, row, QString::number(next));
    return next;
}

void TallyStore::addgame(const QString& winner, const QStringList& atTable)
{
    const bool mine = winner == QLatin1String(kAddToMine);
    addit(kTotalGames, 0);
    if (mine)
        addit(kTotalHisWins, 0);
    for (const QString& name : atTable) {
        const int index = indexOf(name);
        if (index < 0)
            continue;
        const int row = index + 1;
        for (int column = 1; column < TallyGrid::kColumns; ++column) {
            if (m_grid.cell(column, row).isEmpty())
                m_grid.setCell(column, row, QStringLiteral("0"));
        }
        const int outcome = name == winner ? kTotalHisWins : mine ? kTotalMyWins : kTotalNeither;
        for (int column : {kTotalGames, outcome}) {
            addit(column, row);
            addit(column + kRunOffset, row);
        }
    }
}

bool TallyStore::addOpponent(const QString& name)
{
    if (name.isEmpty() || indexOf(name) >= 0)
        return false;
    QStringList cells(TallyGrid::kColumns, QStringLiteral("0"));
    cells[0] = name;
    m_grid.appendRow(cells);
    return true;
}

bool TallyStore::removeOpponent(int index)
{
    if (index < 0 || index + 1 >= m_grid.rowCount())
        return false;
    m_grid.removeRow(index + 1);
    return true;
}

void TallyStore::reset()
{
    m_grid = TallyGrid();
}

QStringList TallyStore::record(int index) const
{
    if (index < 0 || index + 1 >= m_grid.rowCount())
        return {};
    return m_grid.row(index + 1).mid(1);
}

void TallyStore::startRun()
{
    for (int column = 0; column < TallyGrid::kColumns; ++column) {
        if (m_grid.cell(column, 0).isEmpty())
            m_grid.setCell(column, 0, QStringLiteral("0"));
    }
    for (int row = 1; row < m_grid.rowCount(); ++row) {
        for (int column = kTotalGames + kRunOffset; column < TallyGrid::kColumns; ++column)
            m_grid.setCell(column, row, QStringLiteral("0"));
    }
}

void TallyStore::load(const QString& path)
{
    m_grid = TallyGrid();
    m_loadError.clear();
    m_unreadable = false;
    if (!QFileInfo::exists(path))
        return;
    try {
        m_grid = TallyFile::load(path);
    } catch (const std::exception& error) {
        m_grid = TallyGrid();
        m_loadError = QString::fromUtf8(error.what());
        m_unreadable = true;
    }
    startRun();
}

bool TallyStore::save(const QString& path)
{
    m_saveError.clear();
    if (m_unreadable && QFileInfo::exists(path)) {
        // Never destroy a tally we could not read: it may be recoverable by hand.
        const QString aside = path + QStringLiteral(".bad");
        QFile::remove(aside);
        if (!QFile::rename(path, aside)) {
            m_saveError = QStringLiteral("Cannot keep the unreadable tally file as %1").arg(aside);
            return false;
        }
    }
    try {
        TallyFile::save(m_grid, path);
    } catch (const std::exception& error) {
        m_saveError = QString::fromUtf8(error.what());
        return false;
    }
    m_unreadable = false;
    return true;
}

QString TallyStore::defaultPath()
{
    return storagePath(TallyFile::fileName(), QStandardPaths::AppDataLocation);
}

} // namespace morlu
