#include "wiretext.h"

#include <array>
#include <cstdint>

namespace morlu::wiretext {

namespace {

/// Code points of Windows-1252 bytes 0x80..0x9F. The five bytes the set leaves unassigned stand for
/// the C1 control of the same value, so every byte decodes to something and encodes back to itself.
constexpr std::array<char32_t, 32> kHighControls{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isAscii(std::string_view bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

/// The Windows-1252 byte of @p cp, or -1 when it has none (and for U+00FF, whose byte ends a line).
int toWindows1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0xFF))
        return int(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return int(0x80 + i);
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

/**
 * Reads one code point of valid UTF-8 at @p i and moves past it; false (and @p i unchanged) when the
 * bytes there are not well-formed.
 */
bool nextCodePoint(std::string_view bytes, std::size_t& i, char32_t& cp)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return false;
    }
    if (i + length > bytes.size())
        return false;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char c = at(i + k);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    i += length;
    return true;
}

} // namespace

bool isUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    char32_t cp = 0;
    while (i < bytes.size()) {
        if (!nextCodePoint(bytes, i, cp))
            return false;
    }
    return true;
}

std::string encode(std::string_view utf8)
{
    if (isAscii(utf8) || !isUtf8(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    char32_t cp = 0;
    while (i < utf8.size()) {
        nextCodePoint(utf8, i, cp);
        const int byte = toWindows1252(cp);
        if (byte < 0)
            return std::string(utf8);
        out += char(byte);
    }
    return out;
}

std::string_view encodeLine(std::string_view line, std::string& buffer)
{
    const bool ended = !line.empty() && line.back() == '\xFF';
    const std::string_view text = ended ? line.substr(0, line.size() - 1) : line;
    if (isAscii(text))
        return line;
    buffer = encode(text);
    if (ended)
        buffer += '\xFF';
    return buffer;
}

std::string decode(std::string_view bytes)
{
    if (isAscii(bytes) || isUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t(byte));
    }
    return out;
}

void decodeInPlace(std::string& text)
{
    if (isAscii(text) || isUtf8(text))
        return;
    text = decode(text);
}

} // namespace morlu::wiretext
