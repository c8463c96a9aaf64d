#include "random.h"

#include <cerrno>
#include <sys/random.h>
#include <system_error>

namespace morlu {

namespace {

void fillSecurely(void* buffer, std::size_t size)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const ssize_t got = ::getrandom(bytes, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        bytes += got;
        size -= std::size_t(got);
    }
}

/// A uniform number in 0..n-1 from uniform 32-bit words: words in the incomplete last band are drawn again.
template <typename Next> std::uint32_t uniformBelow(std::uint32_t n, Next next)
{
    if (n == 0)
        return 0;
    const std::uint32_t limit = std::uint32_t(0u - n) % n; // 2^32 mod n
    for (;;) {
        const std::uint32_t word = next();
        if (word >= limit)
            return word % n;
    }
}

} // namespace

std::uint32_t SecureRandom::draw(std::uint32_t n)
{
    return uniformBelow(n, [] {
        std::uint32_t word = 0;
        fillSecurely(&word, sizeof word);
        return word;
    });
}

std::uint64_t SecureRandom::seed64()
{
    std::uint64_t seed = 0;
    fillSecurely(&seed, sizeof seed);
    return seed;
}

std::uint64_t StreamRandom::next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint32_t StreamRandom::draw(std::uint32_t n)
{
    return uniformBelow(n, [this] { return static_cast<std::uint32_t>(next() >> 32); });
}

std::uint64_t StreamRandom::mix(std::uint64_t value)
{
    return StreamRandom(value).next();
}

} // namespace morlu
