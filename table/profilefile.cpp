#include "profilefile.h"

#include "viewtext.h"
#include "wiretext.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace {

/// One line of the file: its bytes without the line ending, and the ending as it was ("\r\n", "\n" or "").
struct Line {
    QByteArray text;
    QByteArray ending;
};

QList<Line> splitLines(const QByteArray& bytes)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            lines.append({bytes.mid(start), QByteArray()});
            break;
        }
        const bool crlf = lf > start && bytes.at(lf - 1) == '\r';
        const qsizetype end = crlf ? lf - 1 : lf;
        lines.append({bytes.mid(start, end - start), crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n")});
        start = lf + 1;
    }
    return lines;
}

QString decodeLine(const QByteArray& bytes)
{
    const std::string text = morlu::wiretext::decode(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return fromView(text);
}

QByteArray encodeLine(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const std::string bytes = morlu::wiretext::encode(std::string_view(utf8.constData(), std::size_t(utf8.size())));
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

/// The section named by a "[name]" line, or nothing for any other line.
std::optional<QString> sectionOf(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

bool isComment(const QString& trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

/// The key of a "key=value" line (trimmed), or nothing.
std::optional<QString> keyOf(const QString& line, QString* value = nullptr)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || isComment(trimmed))
        return std::nullopt;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    if (value != nullptr)
        *value = line.mid(eq + 1).trimmed();
    return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/// @p bytes, the contents of an INI file, with @p key in @p section set to @p value.
QByteArray withValue(const QByteArray& old, const QString& section, const QString& key, const QString& value);

} // namespace

QString ProfileFile::readString(const QString& section, const QString& key, const QString& fallback) const
{
    bool inSection = false;
    for (const Line& raw : splitLines(m_loaded ? m_bytes : readAll(m_path))) {
        const QString line = decodeLine(raw.text);
        if (const std::optional<QString> name = sectionOf(line)) {
            // The first section of that name is the one that counts, as for keys.
            if (inSection)
                break;
            inSection = sameName(*name, section);
            continue;
        }
        QString value;
        if (inSection) {
            if (const std::optional<QString> k = keyOf(line, &value); k && sameName(*k, key))
                return unquoted(value);
        }
    }
    return fallback;
}

bool ProfileFile::load()
{
    m_loaded = true;
    m_unreadable = false;
    m_bytes.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (file.open(QIODevice::ReadOnly)) {
        m_bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    m_unreadable = true;
    m_error = QStringLiteral("cannot be read: ") + file.errorString();
    m_bytes.clear();
    return false;
}

void ProfileFile::setString(const QString& section, const QString& key, const QString& value)
{
    if (!m_loaded)
        load();
    m_bytes = withValue(m_bytes, section, key, value);
}

bool ProfileFile::save()
{
    if (!m_loaded)
        load();
    // A file that is there but cannot be read would be lost to what little is known of it.
    if (m_unreadable)
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    load();
    setString(section, key, value);
    return save();
}

namespace {

QByteArray withValue(const QByteArray& old, const QString& section, const QString& key, const QString& value)
{
    QList<Line> lines = splitLines(old);
    const QByteArray eol = old.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");

    qsizetype sectionAt = -1; // the header line of the section
    qsizetype lastEntry = -1; // the last non-blank line of the section
    qsizetype keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = decodeLine(lines.at(i).text);
        if (const std::optional<QString> name = sectionOf(line)) {
            if (sectionAt >= 0)
                break;
            if (sameName(*name, section))
                sectionAt = lastEntry = i;
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (!line.trimmed().isEmpty())
            lastEntry = i;
        if (const std::optional<QString> k = keyOf(line); k && sameName(*k, key)) {
            keyAt = i;
            break;
        }
    }

    if (keyAt >= 0) {
        // Keep the key as it is spelled in the file; only the value changes.
        const QString line = decodeLine(lines.at(keyAt).text);
        lines[keyAt].text = encodeLine(line.left(line.indexOf(QLatin1Char('='))) + QLatin1Char('=') + value);
    } else {
        const Line entry{encodeLine(key + QLatin1Char('=') + value), eol};
        if (sectionAt >= 0) {
            if (lines[lastEntry].ending.isEmpty())
                lines[lastEntry].ending = eol;
            lines.insert(lastEntry + 1, entry);
        } else {
            if (!lines.isEmpty() && lines.last().ending.isEmpty())
                lines.last().ending = eol;
            lines.append({encodeLine(QLatin1Char('[') + section + QLatin1Char(']')), eol});
            lines.append(entry);
        }
    }

    QByteArray bytes;
    bytes.reserve(old.size() + 64);
    for (const Line& line : lines)
        bytes += line.text + line.ending;
    return bytes;
}

} // namespace
