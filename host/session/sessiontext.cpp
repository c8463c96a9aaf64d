#include "sessiontext.h"

#include "lineframer.h"
#include "wiretext.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unicode/uchar.h>
#include <unicode/uspoof.h>

namespace morlu::sessiontext {

namespace {

bool isControl(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029;
}

bool isDirectionControl(char32_t cp)
{
    return (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

/// Characters that show nothing yet make two names differ: format characters (zero-width spaces and
/// joiners, direction marks, ...) and whatever else Unicode tells renderers to ignore.
bool isInvisible(char32_t cp)
{
    const auto c = UChar32(cp);
    return u_charType(c) == U_FORMAT_CHAR || u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
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
        if (!isControl(cp) && !isDirectionControl(cp) && !isInvisible(cp))
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

namespace {

struct SpoofCheckerClose {
    void operator()(USpoofChecker* checker) const { uspoof_close(checker); }
};

/// The confusable skeleton of @p name; the name itself should ICU fail.
std::string skeleton(const QString& name)
{
    static const std::unique_ptr<USpoofChecker, SpoofCheckerClose> checker = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<USpoofChecker, SpoofCheckerClose> opened(uspoof_open(&status));
        return U_SUCCESS(status) ? std::move(opened) : nullptr;
    }();
    const std::string text = toUtf8(name);
    if (checker == nullptr)
        return text;
    std::string out(text.size() * 4 + 16, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = uspoof_getSkeletonUTF8(checker.get(), 0, text.c_str(), int32_t(text.size()), out.data(),
                                            int32_t(out.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(std::size_t(length) + 1);
        status = U_ZERO_ERROR;
        length = uspoof_getSkeletonUTF8(checker.get(), 0, text.c_str(), int32_t(text.size()), out.data(),
                                        int32_t(out.size()), &status);
    }
    if (U_FAILURE(status))
        return text;
    out.resize(std::size_t(length));
    return out;
}

/// Names that look alike but for case: their skeletons folded to one case (a Cyrillic "В" looks like
/// "B", its small letter not like "b"), or the skeletons of the folded names ("Ѕ" and "s").
bool lookAlike(const QString& a, const QString& b)
{
    const auto folded = [](const std::string& text) {
        return QString::fromUtf8(text.data(), qsizetype(text.size())).toCaseFolded();
    };
    return folded(skeleton(a)) == folded(skeleton(b)) || skeleton(a.toCaseFolded()) == skeleton(b.toCaseFolded());
}

} // namespace

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0 || lookAlike(a, b);
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

std::string cleanText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = [&](std::size_t k) {
            return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        };
        if (byte == '\r' || byte == '\n' || byte == '\v' || byte == '\f') {
            // CR LF is one break.
            if (byte == '\r' && next(1) == '\n')
                ++i;
            out += ' ';
        } else if (byte == 0xC2 && next(1) == 0x85) { // NEL
            out += ' ';
            ++i;
        } else if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) { // U+2028, U+2029
            out += ' ';
            i += 2;
        } else if (byte == 0xE2 && ((next(1) == 0x80 && next(2) >= 0xAA && next(2) <= 0xAE) ||
                                    (next(1) == 0x81 && next(2) >= 0xA6 && next(2) <= 0xA9))) {
            i += 2; // U+202A..U+202E, U+2066..U+2069
        } else {
            out += text[i];
        }
    }
    return out;
}

bool isColourText(std::string_view colour)
{
    static constexpr std::array<std::string_view, 42> kNames{
        "clBlack",        "clMaroon",      "clGreen",         "clOlive",
        "clNavy",         "clPurple",      "clTeal",          "clGray",
        "clSilver",       "clRed",         "clLime",          "clYellow",
        "clBlue",         "clFuchsia",     "clAqua",          "clWhite",
        "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
        "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
        "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
        "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
        "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
        "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
        "clInfoBk",       "clNone",
    };
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (colour.size() == 9 && colour.front() == '$') {
        return std::all_of(colour.begin() + 1, colour.end(),
                           [&](char c) { return (c >= '0' && c <= '9') || (lower(c) >= 'a' && lower(c) <= 'f'); });
    }
    return std::any_of(kNames.begin(), kNames.end(), [&](std::string_view name) {
        return name.size() == colour.size() && std::equal(name.begin(), name.end(), colour.begin(),
                                                          [&](char a, char b) { return lower(a) == lower(b); });
    });
}

std::string_view cleanChat(std::string_view rest, std::string& scratch)
{
    const auto bar = rest.find('|');
    const std::string_view text = rest.substr(0, bar);
    const bool colourOk = bar == std::string_view::npos || isColourText(rest.substr(bar + 1));
    std::string cleaned = cleanText(text);
    if (colourOk && cleaned == text)
        return rest;
    scratch = std::move(cleaned);
    if (bar != std::string_view::npos) {
        scratch += '|';
        scratch += colourOk ? rest.substr(bar + 1) : std::string_view("clRed");
    }
    return scratch;
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
