#include "sessiontext.h"

#include "lineframer.h"
#include "wiretext.h"

#include <algorithm>

namespace morlu::sessiontext {

namespace {

bool isControl(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029;
}

bool isBlank(char32_t cp)
{
    return cp == ' ' || cp == 0xA0 || QChar::isSpace(cp);
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string toUtf8(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

std::u32string codePoints(const QString& text)
{
    std::u32string cps;
    for (const uint cp : text.toUcs4())
        cps.push_back(char32_t(cp));
    return cps;
}

QString fromCodePoints(const std::u32string& cps, std::size_t count)
{
    return QString::fromUcs4(cps.data(), qsizetype(std::min(count, cps.size())));
}

} // namespace

std::string cleanName(std::string_view received, int slot)
{
    const std::string text = wiretext::decode(received);
    std::u32string cps;
    for (const char32_t cp : codePoints(QString::fromUtf8(text.data(), qsizetype(text.size())))) {
        if (!isControl(cp))
            cps.push_back(cp);
    }
    std::size_t first = 0;
    while (first < cps.size() && isBlank(cps[first]))
        ++first;
    cps.erase(0, first);
    cps.resize(std::min(cps.size(), std::size_t(kMaxNameLength)));
    while (!cps.empty() && isBlank(cps.back()))
        cps.pop_back();
    if (cps.empty())
        return "Player " + std::to_string(slot);
    return toUtf8(fromCodePoints(cps, cps.size()));
}

std::string distinctName(const std::string& name, const std::function<bool(const QString& name)>& taken)
{
    const QString base = QString::fromUtf8(name.data(), qsizetype(name.size()));
    if (!taken(base))
        return name;
    const std::u32string cps = codePoints(base);
    for (int n = 2;; ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        const std::size_t room = std::size_t(kMaxNameLength - suffix.size());
        const QString candidate = fromCodePoints(cps, room).trimmed() + suffix;
        if (!taken(candidate))
            return toUtf8(candidate);
    }
}

std::size_t relayRoom(std::string_view word, int slot, std::string_view name, std::string_view separator)
{
    const std::size_t head = word.size() + 1 + std::to_string(slot).size() + 1 + name.size() + separator.size();
    return LineFramer::kMaxLine > head ? LineFramer::kMaxLine - head : 0;
}

std::string_view cutUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    while (end > 0 && isContinuation(text[end]))
        --end;
    return text.substr(0, end);
}

std::string_view fitChatText(std::string_view rest, std::size_t budget, std::string& scratch)
{
    if (rest.size() <= budget)
        return rest;
    constexpr std::size_t kLongestColour = 32;
    const auto bar = rest.rfind('|');
    if (bar == std::string_view::npos || rest.size() - bar > kLongestColour + 1 || rest.size() - bar > budget)
        return cutUtf8(rest, budget);
    const std::string_view colour = rest.substr(bar);
    scratch.assign(cutUtf8(rest.substr(0, bar), budget - colour.size()));
    scratch.append(colour);
    return scratch;
}

QString forLog(std::string_view text, std::size_t maxBytes)
{
    const std::string_view shown = cutUtf8(text, maxBytes);
    QString out;
    out.reserve(qsizetype(shown.size()) + 16);
    std::size_t i = 0;
    while (i < shown.size()) {
        // Take the longest valid UTF-8 character here; anything else is one escaped byte.
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(shown[i]);
        if (lead >= 0xC0)
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view piece = shown.substr(i, length);
        const bool valid = piece.size() == length && wiretext::isUtf8(piece);
        const QString decoded = valid ? QString::fromUtf8(piece.data(), qsizetype(piece.size())) : QString();
        const char32_t cp = valid ? codePoints(decoded).front() : 0;
        if (!valid || isControl(cp)) {
            out += QStringLiteral("\\x%1").arg(uint(lead), 2, 16, QLatin1Char('0'));
            ++i;
            continue;
        }
        out += decoded;
        i += length;
    }
    if (shown.size() < text.size())
        out += QStringLiteral("... (%1 bytes)").arg(text.size());
    return out;
}

} // namespace morlu::sessiontext
