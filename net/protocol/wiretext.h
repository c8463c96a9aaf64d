#pragma once

#include <string>
#include <string_view>

namespace morlu {

/**
 * The character set of text on the wire. Inside the program every text is UTF-8. Older tables write
 * and read their names and chat in the Western 8-bit character set (Windows-1252), so a line goes out
 * in that set whenever every character of it has a place there, and in UTF-8 otherwise (a Russian or
 * Polish name, say). A received line is UTF-8 when it is valid UTF-8 and Windows-1252 otherwise.
 *
 * Two rules keep the framing safe: "ÿ" (U+00FF) is 0xFF in Windows-1252, the line terminator, so a
 * line holding it always goes as UTF-8; and valid UTF-8 never holds the byte 0xFF at all. A line is
 * encoded as a whole, so one line is never half one set and half the other.
 */
namespace wiretext {

/// True when @p bytes is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isUtf8(std::string_view bytes);

/**
 * The bytes to send for @p utf8 (a whole line, or a text): itself when it is plain ASCII or when some
 * character has no place in Windows-1252 (or is "ÿ"); its Windows-1252 form otherwise. Text that is not
 * valid UTF-8 is sent as it is.
 */
std::string encode(std::string_view utf8);

/**
 * The bytes to send for one complete @p line (its closing 0xFF included, if it has one), encoded as a
 * whole by the rule of encode(). Plain ASCII, which is nearly every line, comes back as @p line itself
 * without a copy; otherwise the result is written into @p buffer (its capacity is reused) and is valid
 * until the buffer changes.
 */
std::string_view encodeLine(std::string_view line, std::string& buffer);

/// Received @p bytes as UTF-8: unchanged when valid UTF-8, else read as Windows-1252.
std::string decode(std::string_view bytes);

/// In place: leaves @p text alone when it is ASCII or valid UTF-8 (no copy), else converts it.
void decodeInPlace(std::string& text);

} // namespace wiretext

} // namespace morlu
