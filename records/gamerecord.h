#pragma once

#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace morlu {

/**
 * A game record file: what one table received from the host during one game, as it happened.
 *
 *     # Morlu game record 1
 *     # date: 2026-12-08 14:25:01
 *     # host: 192.168.1.20
 *     ...
 *     0 CMD_startgame+Ann+f+
 *     1520 CMD_startround+1+1+
 *     ...
 *     # unfinished                  (only when the table closed before the winner was announced)
 *
 * Each received line is "MILLISECONDS LINE": the milliseconds since the record began, one space, then
 * the line as the table read it (UTF-8, without its 0xFF), with backslash, carriage return and line
 * feed written as "\\", "\r" and "\n", so one received line is always one line of the file.
 */
namespace gamerecord {

inline constexpr std::string_view kFirstLine = "# Morlu game record 1";
inline constexpr std::string_view kUnfinished = "# unfinished";
inline constexpr std::string_view kSuffix = ".morlugame";

/// @p line with backslash, CR and LF escaped.
std::string escape(std::string_view line);
/// The escaped @p text read back; false when it holds a backslash that starts no known escape.
bool unescape(std::string_view text, std::string& out);

} // namespace gamerecord

/// One received line of a record.
struct RecordedLine {
    qint64 milliseconds = 0;
    std::string text;
    int fileLine = 0; ///< its line in the file, from 1
    bool operator==(const RecordedLine&) const = default;
};

/// A record as read from a file.
struct GameRecord {
    QList<QPair<QString, QString>> headers; ///< "# key: value" lines, in order
    std::vector<RecordedLine> lines;
    bool unfinished = false;

    /// The value of header @p key, empty when missing.
    QString header(const QString& key) const;
};

/// The result of reading a record: the record up to the first line that could not be read.
struct GameRecordRead {
    GameRecord record;
    QString error;  ///< empty when the whole file was read
    int errorLine = 0; ///< 1-based line of the file that could not be read, 0 for none
    bool ok() const { return error.isEmpty(); }
};

/**
 * Writes one record, line by line, flushing each line so that a record is complete up to the last
 * received line whatever ends the program. Errors are kept in error(); once one happened, nothing
 * more is written.
 */
class GameRecordWriter {
public:
    /// Creates @p path (it must not exist yet) and writes the first line and @p headers.
    bool open(const QString& path, const QList<QPair<QString, QString>>& headers);
    bool isOpen() const { return m_file.isOpen(); }
    /// Appends @p line (as read, without its 0xFF) received @p milliseconds after the record began.
    bool append(qint64 milliseconds, std::string_view line);
    /// Closes the record; an unfinished one ends with "# unfinished".
    bool close(bool unfinished);
    QString path() const { return m_file.fileName(); }
    /// Why the last write failed, empty when none did.
    QString error() const { return m_error; }

private:
    bool write(const std::string& text);

    QFile m_file;
    QString m_error;
};

/// Reads the record at @p path; a file that is not a record, or a damaged line, sets error.
GameRecordRead readGameRecord(const QString& path);
/// Reads a record from @p bytes (the whole file).
GameRecordRead parseGameRecord(const QByteArray& bytes);

} // namespace morlu
