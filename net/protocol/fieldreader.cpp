#include "fieldreader.h"

#include <charconv>
#include <limits>

namespace morlu {

namespace {

std::string errorText(std::string_view text)
{
    std::string message;
    message.reserve(text.size() + 32);
    message += '\'';
    message += text;
    message += "' is not a valid integer value";
    return message;
}

} // namespace

FieldError::FieldError(std::string_view text) : std::runtime_error(errorText(text)), m_text(text) {}

bool tryToInt(std::string_view text, int& value)
{
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars accepts a leading "-" but not "+", which is what the wire format allows.
    if (*first == '-' && (text.size() == 1 || first[1] < '0' || first[1] > '9'))
        return false;
    int parsed = 0;
    auto [end, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc{} || end != last)
        return false;
    value = parsed;
    return true;
}

int toInt(std::string_view text)
{
    int value = 0;
    if (!tryToInt(text, value))
        throw FieldError(text);
    return value;
}

std::string_view FieldReader::field()
{
    const auto plus = m_rest.find('+');
    if (plus == std::string_view::npos)
        return {};
    std::string_view result = m_rest.substr(0, plus);
    m_rest.remove_prefix(plus + 1);
    return result;
}

int FieldReader::intField()
{
    return toInt(field());
}

std::string_view FieldReader::takeRest()
{
    std::string_view result = m_rest;
    m_rest = {};
    return result;
}

} // namespace morlu
