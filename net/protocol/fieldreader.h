#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace morlu {

/**
 * Raised when a numeric field does not read as a whole number. The text is the one the players have
 * always seen for it: "'TEXT' is not a valid integer value". Handlers let it end their work; the
 * dispatching side catches it and logs it.
 */
class FieldError : public std::runtime_error {
public:
    explicit FieldError(std::string_view text);
    /// The offending text, as it stood in the field.
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

/**
 * Decimal integer in the range of a signed 32-bit value, with an optional leading "-". Anything else
 * (empty text, blanks, a "+", hexadecimal, an overflow) throws FieldError.
 */
int toInt(std::string_view text);

/// Same as toInt, but returns false instead of throwing.
bool tryToInt(std::string_view text, int& value);

/**
 * Peels fields off the front of a message's rest, the way every handler reads its message: a field is
 * the text before the next "+", and reading it removes that text and the "+". When no "+" is left the
 * field reads as empty and nothing is removed, so a missing numeric field fails its conversion.
 */
class FieldReader {
public:
    explicit FieldReader(std::string_view rest) : m_rest(rest) {}

    /// The text before the next "+", removed together with the "+"; empty (nothing removed) without one.
    std::string_view field();
    /// field() converted with toInt(); throws FieldError.
    int intField();
    /// Everything not read yet, which is then used up. Used for a last field that may contain "+".
    std::string_view takeRest();
    /// Everything not read yet, left in place.
    std::string_view rest() const { return m_rest; }
    bool atEnd() const { return m_rest.empty(); }
    /// True when another "+"-ended field follows.
    bool hasField() const { return m_rest.find('+') != std::string_view::npos; }

private:
    std::string_view m_rest;
};

} // namespace morlu
