#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace morlu {

/// The byte that ends every line on the wire.
inline constexpr char kLineEnd = '\xFF';

/**
 * Writes one complete line, "CMD_word+", the fields, then the 0xFF, into a buffer the caller owns and
 * reuses: the buffer is cleared (its capacity kept) when the builder is made, so once it is large
 * enough no line allocates. Integers are written in decimal with std::to_chars.
 *
 * Text never carries the byte 0xFF onto the wire: it is left out of every text written here, since a
 * 0xFF inside a name or chat line would end the line there and turn the remainder into a line of its
 * own. Text is UTF-8, which never contains 0xFF, so nothing legitimate is lost.
 *
 * Fields are either followed by a "+" (`field`, `flag`) or written bare (`number`, `text`) with the
 * separators placed by hand (`plus`), which is how the layouts without a trailing plus are built:
 *
 *     LineBuilder line(buffer, CMD_placecard);
 *     line.field(3).field(22).field(5).flag(true);   // "CMD_placecard+3+22+5+t+"
 *     std::string_view bytes = line.finish();        // ... and the 0xFF
 */
class LineBuilder {
public:
    /// Clears @p buffer and writes @p command and its "+".
    LineBuilder(std::string& buffer, std::string_view command) : m_buffer(buffer)
    {
        m_buffer.clear();
        m_buffer.append(command);
        m_buffer.push_back('+');
    }

    /// Decimal @p value, then "+".
    LineBuilder& field(int value) { return number(value).plus(); }
    /// @p value (0xFF left out), then "+".
    LineBuilder& field(std::string_view value) { return text(value).plus(); }
    LineBuilder& field(const char* value) { return field(std::string_view(value)); }
    LineBuilder& field(bool) = delete; // flags are written with flag()
    LineBuilder& field(char) = delete;
    /// "t" or "f", then "+".
    LineBuilder& flag(bool value)
    {
        m_buffer.push_back(value ? 't' : 'f');
        return plus();
    }

    /// Decimal @p value with nothing after it.
    LineBuilder& number(int value)
    {
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        m_buffer.append(digits, result.ptr);
        return *this;
    }
    /// @p value with nothing after it; every 0xFF byte is left out.
    LineBuilder& text(std::string_view value)
    {
        while (!value.empty()) {
            const void* end = std::memchr(value.data(), static_cast<unsigned char>(kLineEnd), value.size());
            if (end == nullptr) {
                m_buffer.append(value);
                break;
            }
            const auto clean = static_cast<std::size_t>(static_cast<const char*>(end) - value.data());
            m_buffer.append(value.data(), clean);
            value.remove_prefix(clean + 1);
        }
        return *this;
    }
    LineBuilder& number(bool) = delete;
    LineBuilder& plus()
    {
        m_buffer.push_back('+');
        return *this;
    }

    /// Appends the 0xFF. The view covers the whole line and lives as long as the buffer is unchanged.
    std::string_view finish()
    {
        m_buffer.push_back(kLineEnd);
        return m_buffer;
    }

private:
    std::string& m_buffer;
};

} // namespace morlu
