#pragma once

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace morlu {

/// The byte that ends every line on the wire.
inline constexpr char kLineEnd = '\xFF';

/**
 * Writes one complete line, "CMD_word+", the fields, then the 0xFF, into a buffer the caller owns and
 * reuses: the buffer's old content is overwritten and its capacity kept, so once it is large enough no
 * line allocates. Integers are written in decimal with std::to_chars. Until finish() the buffer holds
 * the line so far followed by scratch bytes; use one builder per buffer at a time, and never pass it
 * text that points into its own buffer.
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
    /// Starts the line in @p buffer, overwriting what it held, with @p command and its "+".
    LineBuilder(std::string& buffer, std::string_view command) : m_buffer(buffer)
    {
        // Write through a pointer into the buffer's own characters rather than appending piece by
        // piece: the buffer is sized to a small window up front, grown when a line needs more, and cut
        // to the line's length by finish().
        if (m_buffer.size() < kWindow)
            m_buffer.resize(kWindow);
        m_at = m_buffer.data();
        m_end = m_at + m_buffer.size();
        put(command);
        put('+');
    }
    LineBuilder(const LineBuilder&) = delete;
    LineBuilder& operator=(const LineBuilder&) = delete;

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
        reserve(2);
        *m_at++ = value ? 't' : 'f';
        *m_at++ = '+';
        return *this;
    }

    /// Decimal @p value with nothing after it.
    LineBuilder& number(int value)
    {
        reserve(11);
        m_at = std::to_chars(m_at, m_end, value).ptr;
        return *this;
    }
    LineBuilder& number(bool) = delete;
    /// @p value with nothing after it; every 0xFF byte is left out.
    LineBuilder& text(std::string_view value)
    {
        while (!value.empty()) {
            const void* end = std::memchr(value.data(), static_cast<unsigned char>(kLineEnd), value.size());
            if (end == nullptr) {
                put(value);
                break;
            }
            const auto clean = static_cast<std::size_t>(static_cast<const char*>(end) - value.data());
            put(value.substr(0, clean));
            value.remove_prefix(clean + 1);
        }
        return *this;
    }
    LineBuilder& plus()
    {
        put('+');
        return *this;
    }

    /// Appends the 0xFF. The view covers the whole line and lives as long as the buffer is unchanged.
    std::string_view finish()
    {
        put(kLineEnd);
        m_buffer.resize(static_cast<std::size_t>(m_at - m_buffer.data()));
        return m_buffer;
    }

private:
    static constexpr std::size_t kWindow = 64;

    void reserve(std::size_t count)
    {
        if (static_cast<std::size_t>(m_end - m_at) < count)
            grow(count);
    }
    void grow(std::size_t count)
    {
        const auto used = static_cast<std::size_t>(m_at - m_buffer.data());
        m_buffer.resize(std::max(used + count, 2 * m_buffer.size()));
        m_at = m_buffer.data() + used;
        m_end = m_buffer.data() + m_buffer.size();
    }
    void put(char c)
    {
        reserve(1);
        *m_at++ = c;
    }
    void put(std::string_view piece)
    {
        reserve(piece.size());
        std::memcpy(m_at, piece.data(), piece.size());
        m_at += piece.size();
    }

    std::string& m_buffer;
    char* m_at;
    char* m_end;
};

} // namespace morlu
