#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>

namespace morlu::test {

/// Seeded generator for test data (32-bit linear congruential, upper byte).
class ByteSource {
public:
    explicit ByteSource(std::uint32_t seed) : m_state(seed) {}
    std::uint8_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return std::uint8_t(m_state >> 24);
    }
    std::uint32_t below(std::uint32_t n) { return ((m_state = m_state * 1664525u + 1013904223u) >> 8) % n; }

private:
    std::uint32_t m_state;
};

enum class Pattern { Text, Runs, Random, Mixed, Zeros };

inline const char* patternName(Pattern pattern)
{
    switch (pattern) {
    case Pattern::Text:
        return "text";
    case Pattern::Runs:
        return "runs";
    case Pattern::Random:
        return "random";
    case Pattern::Mixed:
        return "mixed";
    case Pattern::Zeros:
        return "zeros";
    }
    return "?";
}

/// size bytes of the given kind: words from a small vocabulary, runs of 1 to 5000 equal bytes,
/// random bytes, or all three interleaved in stretches.
inline QByteArray makeData(Pattern pattern, int size, std::uint32_t seed = 1)
{
    static const char* const words[] = {"Klot ",  "games ", "won ",   "the ",   "director ", "Hearts\r\n",
                                        "Morlu ", "0\r\n",  "12\r\n", "tally ", "Queens ",   "and "};
    ByteSource source(seed);
    QByteArray data;
    data.reserve(size);
    Pattern stretch = pattern;
    while (data.size() < size) {
        if (pattern == Pattern::Mixed)
            stretch = Pattern(source.below(3));
        const int left = size - int(data.size());
        switch (stretch) {
        case Pattern::Text:
            for (int i = 0; i < 40 && data.size() < size; ++i)
                data += words[source.below(12)];
            break;
        case Pattern::Runs: {
            const int length = 1 + int(source.below(source.below(4) == 0 ? 5000 : 40));
            data += QByteArray(qMin(length, left), char(source.next() & 7));
            break;
        }
        case Pattern::Random:
            for (int i = 0; i < 300 && data.size() < size; ++i)
                data += char(source.next());
            break;
        case Pattern::Zeros:
            data += QByteArray(left, '\0');
            break;
        case Pattern::Mixed:
            break;
        }
    }
    data.truncate(size);
    return data;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray data;
    for (int value : values)
        data += char(value);
    return data;
}

} // namespace morlu::test
