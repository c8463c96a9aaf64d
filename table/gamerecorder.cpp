#include "gamerecorder.h"

#include "commands.h"
#include "dispatcher.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

GameRecorder::GameRecorder(QObject* parent) : QObject(parent), m_now([] { return QDateTime::currentDateTime(); }) {}

GameRecorder::~GameRecorder()
{
    finish();
}

void GameRecorder::setEnabled(bool on)
{
    m_enabled = on;
    if (!on)
        finish();
}

void GameRecorder::lineReceived(std::string_view line)
{
    if (!m_enabled || m_folder.isEmpty())
        return;
    const std::string_view word = morlu::splitCommand(line).word;
    if (word == morlu::CMD_startgame) {
        // A new game ends the one before, finished or not.
        close(true);
        begin();
    } else if (word == morlu::CMD_agame && !m_writer.isOpen()) {
        begin();
    }
    if (!m_writer.isOpen())
        return;
    m_recordBytes += qint64(line.size());
    if (m_recordBytes > kMaxRecordBytes) {
        close(true);
        return;
    }
    if (!m_writer.append(m_start.msecsTo(m_now()), line)) {
        failed(m_writer.error());
        return;
    }
    if (word == morlu::CMD_winner)
        close(false);
}

void GameRecorder::finish()
{
    close(true);
}

void GameRecorder::begin()
{
    m_start = m_now();
    m_recordBytes = 0;
    if (!QDir().mkpath(m_folder)) {
        m_path = m_folder;
        failed(tr("the folder cannot be made"));
        return;
    }
    m_path = freePath(m_start);
    Headers headers{{QStringLiteral("date"), m_start.toString(Qt::ISODate)}};
    if (m_headers)
        headers += m_headers();
    if (!m_writer.open(m_path, headers)) {
        failed(m_writer.error());
        return;
    }
    removeOldest();
}

void GameRecorder::close(bool unfinished)
{
    if (!m_writer.isOpen())
        return;
    if (m_writer.close(unfinished))
        m_failureShown = false;
    else
        failed(m_writer.error());
}

void GameRecorder::failed(const QString& reason)
{
    if (m_writer.isOpen())
        m_writer.close(false);
    qWarning("Morlu: the game record %s cannot be written: %s", qPrintable(m_path), qPrintable(reason));
    if (m_failureShown)
        return;
    m_failureShown = true;
    emit writeFailed(tr("This game is not being recorded: %1 cannot be written (%2).")
                         .arg(QDir::toNativeSeparators(m_path), reason));
}

namespace {
/// Length of the start time in a record's name ("2026-12-08_142501").
constexpr qsizetype kStampLength = 17;
} // namespace

QString GameRecorder::freePath(const QDateTime& start) const
{
    const QDir folder(m_folder);
    const QString stem = start.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString suffix = QString::fromLatin1(morlu::gamerecord::kSuffix.data(), qsizetype(morlu::gamerecord::kSuffix.size()));
    QString path = folder.filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1_%2%3").arg(stem).arg(n).arg(suffix));
    return path;
}

void GameRecorder::removeOldest()
{
    QDir folder(m_folder);
    const QString pattern = QLatin1Char('*') + QString::fromLatin1(morlu::gamerecord::kSuffix.data(),
                                                                    qsizetype(morlu::gamerecord::kSuffix.size()));
    // Named by their start time, so name order is age order, except for the number that tells apart the
    // records of one second: "_10" is younger than "_9", and the name without a number is the oldest.
    QStringList records = folder.entryList({pattern}, QDir::Files, QDir::Name);
    std::stable_sort(records.begin(), records.end(), [](const QString& a, const QString& b) {
        const auto key = [](const QString& name) {
            const QString stem = name.left(name.indexOf(QLatin1Char('.')));
            const qsizetype cut = stem.indexOf(QLatin1Char('_'), kStampLength);
            bool numbered = false;
            const int n = cut < 0 ? 1 : stem.mid(cut + 1).toInt(&numbered);
            return std::pair(cut < 0 ? stem : stem.left(cut), numbered || cut < 0 ? n : 0);
        };
        return key(a) < key(b);
    });
    for (qsizetype i = 0; i + kMaxRecords < records.size(); ++i)
        if (!folder.remove(records.at(i)))
            qWarning("Morlu: an old game record could not be removed: %s", qPrintable(folder.filePath(records.at(i))));
}
