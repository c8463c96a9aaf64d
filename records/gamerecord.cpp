#include "gamerecord.h"

#include <QFileDevice>

#include <charconv>

namespace morlu {

namespace gamerecord {

std::string escape(std::string_view line)
{
    std::string out;
    out.reserve(line.size());
    for (const char c : line) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool unescape(std::string_view text, std::string& out)
{
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace gamerecord

namespace {

constexpr std::string_view kHeaderStart = "# ";
constexpr std::string_view kKeySeparator = ": ";

QString fromStd(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

QString GameRecord::header(const QString& key) const
{
    for (const auto& [name, value] : headers)
        if (name == key)
            return value;
    return {};
}

bool GameRecordWriter::open(const QString& path, const QList<QPair<QString, QString>>& headers)
{
    m_error.clear();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_error = m_file.errorString();
        return false;
    }
    std::string text(gamerecord::kFirstLine);
    text += '\n';
    for (const auto& [key, value] : headers) {
        text += kHeaderStart;
        text += key.toStdString();
        text += kKeySeparator;
        text += gamerecord::escape(value.toStdString());
        text += '\n';
    }
    return write(text);
}

bool GameRecordWriter::append(qint64 milliseconds, std::string_view line)
{
    if (!m_file.isOpen() || !m_error.isEmpty())
        return false;
    std::string text = std::to_string(milliseconds);
    text += ' ';
    text += gamerecord::escape(line);
    text += '\n';
    return write(text);
}

bool GameRecordWriter::close(bool unfinished)
{
    if (!m_file.isOpen())
        return m_error.isEmpty();
    bool ok = m_error.isEmpty();
    if (ok && unfinished)
        ok = write(std::string(gamerecord::kUnfinished) + '\n');
    m_file.close();
    if (ok && m_file.error() != QFileDevice::NoError) {
        m_error = m_file.errorString();
        ok = false;
    }
    return ok;
}

bool GameRecordWriter::write(const std::string& text)
{
    if (!m_error.isEmpty())
        return false;
    if (m_file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !m_file.flush()) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

GameRecordRead readGameRecord(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GameRecordRead read;
        read.error = file.errorString();
        return read;
    }
    return parseGameRecord(file.readAll());
}

GameRecordRead parseGameRecord(const QByteArray& bytes)
{
    GameRecordRead read;
    const std::string_view all(bytes.constData(), std::size_t(bytes.size()));
    std::size_t start = 0;
    int number = 0;
    const auto fail = [&read, &number](const QString& text) {
        read.error = text;
        read.errorLine = number;
        return read;
    };
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        const std::string_view line = all.substr(start, end - start);
        start = end + 1;
        ++number;
        if (number == 1) {
            if (line != gamerecord::kFirstLine)
                return fail(QStringLiteral("not a game record (its first line is not \"%1\")")
                                .arg(fromStd(gamerecord::kFirstLine)));
            continue;
        }
        if (read.record.unfinished)
            return fail(QStringLiteral("line %1: a line after \"%2\"").arg(number).arg(fromStd(gamerecord::kUnfinished)));
        if (line == gamerecord::kUnfinished) {
            read.record.unfinished = true;
            continue;
        }
        if (line.starts_with(kHeaderStart)) {
            const std::string_view header = line.substr(kHeaderStart.size());
            const std::size_t colon = header.find(kKeySeparator);
            std::string value;
            if (colon == std::string_view::npos || colon == 0 ||
                !gamerecord::unescape(header.substr(colon + kKeySeparator.size()), value))
                return fail(QStringLiteral("line %1: a damaged header line").arg(number));
            read.record.headers.append({fromStd(header.substr(0, colon)), fromStd(value)});
            continue;
        }
        const std::size_t space = line.find(' ');
        qint64 milliseconds = -1;
        const char* const first = line.data();
        const char* const last = first + (space == std::string_view::npos ? line.size() : space);
        const auto [next, code] = std::from_chars(first, last, milliseconds);
        RecordedLine received;
        if (space == std::string_view::npos || space == 0 || code != std::errc() || next != last || milliseconds < 0 ||
            !gamerecord::unescape(line.substr(space + 1), received.text))
            return fail(QStringLiteral("line %1: a damaged line").arg(number));
        received.milliseconds = milliseconds;
        received.fileLine = number;
        read.record.lines.push_back(std::move(received));
    }
    if (number == 0) {
        number = 1;
        return fail(QStringLiteral("not a game record (the file is empty)"));
    }
    return read;
}

} // namespace morlu
