#pragma once

#include <string_view>

namespace morlu {

/**
 * Where the game engine's messages go. Each line is complete, terminating 0xFF included. The session
 * implements it over the slots' connections; tests implement it with a recorder or a null sink.
 */
class Outbox {
public:
    virtual ~Outbox() = default;
    /// One slot's connection. The engine only calls it for a slot whose `inuse` is 1.
    virtual void toSlot(int slot, std::string_view line) = 0;
    /// Every slot from 1 to the session's slot count whose `inuse` is 1, in slot order.
    virtual void toAll(std::string_view line) = 0;
};

} // namespace morlu
