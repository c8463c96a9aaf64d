#pragma once

#include "gamerecord.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <functional>
#include <string_view>

/**
 * Writes every game the table plays or watches to a record file as it happens: one file per game in
 * its folder (a "games" folder beside the tally), named by the game's start time
 * ("2026-12-08_142501.morlugame", "_2" and so on when taken), holding every line the table received
 * from the host from the game's start (CMD_startgame, or CMD_agame for a table that comes in while a
 * game runs) to CMD_winner. A record still open when the table closes, the connection ends or a new
 * game starts is kept and marked unfinished. At most kMaxRecords are kept; the oldest go first. A record
 * whose lines reach kMaxRecordBytes (a long game's own lines take some 50 KiB; a host that floods the
 * table would fill the disk) is closed there as unfinished, and nothing more is written until the next
 * game starts.
 *
 * Without a folder, or while switched off, nothing is written. A record that cannot be written is
 * given up and told once (writeFailed) until a record is written again; the game goes on.
 */
class GameRecorder : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxRecords = 500;
    static constexpr qint64 kMaxRecordBytes = qint64(8) << 20;
    using Headers = QList<QPair<QString, QString>>;

    explicit GameRecorder(QObject* parent = nullptr);
    ~GameRecorder() override;

    /// The folder records go to; empty (the default) records nothing.
    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    /// "Keep Game Records": switching off closes an open record as unfinished.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    /// What the header says beside the date: the host address, the own seat and name, the four names.
    void setHeaders(std::function<Headers()> headers) { m_headers = std::move(headers); }
    /// The clock (local time); the current time unless a test sets one.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    /// A line received from the host, decoded, without its 0xFF.
    void lineReceived(std::string_view line);
    /// The table closes or the connection ended: an open record is kept as unfinished.
    void finish();

    bool recording() const { return m_writer.isOpen(); }
    /// The path of the open record, or of the last one.
    QString currentPath() const { return m_path; }

signals:
    /// A record could not be written: @p text, for the player, names the file and the reason.
    void writeFailed(const QString& text);

private:
    void begin();
    void close(bool unfinished);
    void failed(const QString& reason);
    void removeOldest();
    QString freePath(const QDateTime& start) const;

    QString m_folder;
    bool m_enabled = true;
    std::function<Headers()> m_headers;
    std::function<QDateTime()> m_now;
    morlu::GameRecordWriter m_writer;
    QDateTime m_start;
    qint64 m_recordBytes = 0; ///< the text of the lines written to the open record
    QString m_path;
    bool m_failureShown = false;
};
