#pragma once

#include "cards.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace morlu {

/**
 * The host's live seat keys, one per connection slot at most. A table that asks after its login is
 * given a key for its slot; when its connection drops, the key brings a new connection of the same
 * table back to that slot, once. A key is voided when it is used, when another table logs in to its
 * slot, and when its table is removed; asking again replaces it.
 *
 * Keys are 32 lowercase hex digits made from 16 bytes of the system's secure random source
 * (getrandom); tests may hand in another source.
 */
class SeatKeys {
public:
    /// Fills @p size bytes at @p bytes; throws std::runtime_error when no random bytes can be had.
    using Source = std::function<void(unsigned char* bytes, std::size_t size)>;

    SeatKeys();
    explicit SeatKeys(Source source);

    /// What a live key was given for.
    struct Holder {
        int slot = 0;       ///< 0: the key was not live
        int connection = 0; ///< the connection the key was given to
    };

    /// A new key for @p slot (1..kSlotCount), given to @p connection, replacing the one the slot had.
    std::string issue(int slot, int connection);
    /// What the live key @p key was given for; the key is voided. A slot of 0 when @p key is no live key.
    Holder take(std::string_view key);
    /// Voids the key of @p slot, if it has one.
    void revoke(int slot);
    bool hasKey(int slot) const;

private:
    Source m_source;
    std::array<std::string, kSlotCount + 1> m_keys;
    std::array<int, kSlotCount + 1> m_holders{};
};

/// @p size bytes from the system's secure random source (getrandom); throws std::runtime_error on failure.
void secureRandomBytes(unsigned char* bytes, std::size_t size);

} // namespace morlu
