#pragma once

#include <QByteArray>
#include <QString>

/**
 * An INI-format settings file read and written one value at a time, the way desktop programs have
 * long shared such files: "[Section]" header lines, then "key=value" lines.
 *
 * - Section and key names are compared without regard to case and to blanks around them; values are
 *   trimmed, and a value in matching quotes loses them.
 * - Without load(), every call opens the file, does its one read or write, and lets it go: another
 *   program may change the file in between. After load() the file is read once: reads and changes
 *   (setString) work on that copy, and save() writes every change at once.
 * - A write changes only its own line (or adds one at the end of its section, or a new section at the
 *   end of the file). Every other byte stays as it was: other sections and keys, comments, blank lines
 *   and the file's line endings (CR LF or LF; a new file uses LF).
 * - The file is created when missing and replaced atomically (written beside it, then renamed), so a
 *   crash or a full disk never leaves half a settings file. A file that exists but cannot be read is
 *   never written: it stays exactly as it was.
 * - Text follows the rule of the wire: a line is read as UTF-8 when it is valid UTF-8 and as
 *   Windows-1252 otherwise, and a written line is Windows-1252 when every character fits, else UTF-8.
 */
class ProfileFile {
public:
    explicit ProfileFile(const QString& path) : m_path(path) {}

    const QString& path() const { return m_path; }

    /// The value of @p key in @p section, or @p fallback when the file, the section or the key is missing.
    QString readString(const QString& section, const QString& key, const QString& fallback = QString()) const;
    /**
     * Sets @p key in @p section to @p value in the file at once; false when the file could not be
     * written (it is then unchanged, and errorString() says why).
     */
    bool writeString(const QString& section, const QString& key, const QString& value);

    /** Reads the file into memory, once; a missing file is an empty one. False when it cannot be read. */
    bool load();
    /** Sets @p key in @p section to @p value in the loaded copy (loading it first if need be). */
    void setString(const QString& section, const QString& key, const QString& value);
    /**
     * Writes the loaded copy with every change made to it, atomically. False when the file could not be
     * read or written; the file is then unchanged and errorString() says why.
     */
    bool save();
    /// Why the last load, write or save failed.
    const QString& errorString() const { return m_error; }

private:
    QString m_path;
    bool m_loaded = false;
    bool m_unreadable = false;
    QByteArray m_bytes;
    QString m_error;
};
