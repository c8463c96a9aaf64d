#pragma once

#include <cstdint>

namespace morlu {

/**
 * The host's one source of chance: a 32-bit linear congruential generator. A draw in 0..n-1 advances
 * the seed (seed * 134775813 + 1, mod 2^32) and returns the upper 32 bits of the 64-bit product of the
 * new seed and n. The shuffle and the computer players' choices all draw from it, so a seed pins a game.
 */
class Random {
public:
    explicit Random(std::uint32_t seed = 0) : m_seed(seed) {}

    /// A number in 0..n-1 (0 when n is 0).
    std::uint32_t draw(std::uint32_t n)
    {
        m_seed = m_seed * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(m_seed) * n) >> 32);
    }

    std::uint32_t seed() const { return m_seed; }
    void setSeed(std::uint32_t seed) { m_seed = seed; }

    /// The seed the host takes when none is given: milliseconds since midnight, UTC.
    static std::uint32_t seedFromTimeOfDay();

private:
    std::uint32_t m_seed;
};

} // namespace morlu
