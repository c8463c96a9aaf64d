#pragma once

#include <cstdint>

namespace morlu {

/**
 * Where the host's chance comes from: the shuffle and the simple computer players draw through this,
 * so the engine never knows whether a seed pins its games or the system deals them.
 */
class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// A number in 0..n-1 (0 when n is 0).
    virtual std::uint32_t draw(std::uint32_t n) = 0;

protected:
    RandomSource() = default;
    RandomSource(const RandomSource&) = default;
    RandomSource& operator=(const RandomSource&) = default;
};

/**
 * The game's own generator: a 32-bit linear congruential generator. A draw in 0..n-1 advances the seed
 * (seed * 134775813 + 1, mod 2^32) and returns the upper 32 bits of the 64-bit product of the new
 * seed and n. A host started with `--seed` deals and lets its simple computer players choose from one
 * of these, so the seed pins the game. Anyone who knows one hand can find the seed, so a host never
 * deals from it unless told to.
 */
class Random final : public RandomSource {
public:
    explicit Random(std::uint32_t seed = 0) : m_seed(seed) {}

    std::uint32_t draw(std::uint32_t n) override
    {
        m_seed = m_seed * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(m_seed) * n) >> 32);
    }

    std::uint32_t seed() const { return m_seed; }
    void setSeed(std::uint32_t seed) { m_seed = seed; }

private:
    std::uint32_t m_seed;
};

/**
 * The system's secure random source (getrandom): what nobody can foresee. Every draw is uniform over
 * 0..n-1. Throws std::system_error should the system refuse (it does not on any supported kernel).
 */
class SecureRandom final : public RandomSource {
public:
    std::uint32_t draw(std::uint32_t n) override;

    /// Sixty-four fresh bits, for seeding a stream of one's own.
    static std::uint64_t seed64();
};

/**
 * A fast stream of its own (SplitMix64) for choices that only need to be unpredictable to the
 * players: seeded from SecureRandom::seed64(), never from anything a table sees. Draws are uniform.
 */
class StreamRandom final : public RandomSource {
public:
    explicit StreamRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint32_t draw(std::uint32_t n) override;
    std::uint64_t next();

    /// One SplitMix64 step of @p value: how a seed the user gave becomes an unrelated stream's seed.
    static std::uint64_t mix(std::uint64_t value);

private:
    std::uint64_t m_state;
};

} // namespace morlu
