#pragma once

#include <cstdint>

namespace morlu {

/**
 * The expert's own generator (a SplitMix64 stream), apart from the host's: the expert draws often and
 * its draws must not move the shuffle or the simple computer players' choices.
 */
class PlayoutRandom {
public:
    explicit PlayoutRandom(std::uint64_t seed = 0) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    /// A number in 0..n-1 (0 when n is 0).
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32); }

    /// Mixes @p value into a seed, so nearby inputs give unrelated streams.
    static std::uint64_t mix(std::uint64_t seed, std::uint64_t value)
    {
        PlayoutRandom r(seed ^ (value * 0xD6E8FEB86659FD93ull));
        return r.next();
    }

private:
    std::uint64_t m_state;
};

} // namespace morlu
