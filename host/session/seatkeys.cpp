#include "seatkeys.h"

#include "sessionmessages.h"

#include <cerrno>
#include <stdexcept>
#include <sys/random.h>

namespace morlu {

namespace {

/// Compares without stopping at the first difference, so the time taken tells nothing of a live key.
bool sameKey(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

void secureRandomBytes(unsigned char* bytes, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::getrandom(bytes + got, size - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("no secure random bytes for a seat key");
        got += static_cast<std::size_t>(n);
    }
}

SeatKeys::SeatKeys() : SeatKeys(secureRandomBytes) {}

SeatKeys::SeatKeys(Source source) : m_source(std::move(source)) {}

std::string SeatKeys::issue(int slot, int connection)
{
    if (slot < 1 || slot > kSlotCount)
        return {};
    static constexpr char kHex[] = "0123456789abcdef";
    unsigned char bytes[kSeatKeyLength / 2];
    m_source(bytes, sizeof bytes);
    std::string key;
    key.reserve(kSeatKeyLength);
    for (const unsigned char byte : bytes) {
        key.push_back(kHex[byte >> 4]);
        key.push_back(kHex[byte & 0x0F]);
    }
    m_keys[std::size_t(slot)] = key;
    m_holders[std::size_t(slot)] = connection;
    return key;
}

SeatKeys::Holder SeatKeys::take(std::string_view key)
{
    if (!isSeatKey(key))
        return {};
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        std::string& live = m_keys[std::size_t(slot)];
        if (!live.empty() && sameKey(live, key)) {
            live.clear();
            return {slot, m_holders[std::size_t(slot)]};
        }
    }
    return {};
}

void SeatKeys::revoke(int slot)
{
    if (slot >= 1 && slot <= kSlotCount)
        m_keys[std::size_t(slot)].clear();
}

bool SeatKeys::hasKey(int slot) const
{
    return slot >= 1 && slot <= kSlotCount && !m_keys[std::size_t(slot)].empty();
}

} // namespace morlu
