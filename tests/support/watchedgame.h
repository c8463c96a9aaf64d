#pragma once

#include "outbox.h"

#include <functional>
#include <string>
#include <string_view>

namespace morlu {
class GameEngine;
}

namespace morlu::test {

class FakeClock;

/// Hands every line the host sends to slot 1 to a function, without its 0xFF, as that table's link would.
class SlotOneOutbox : public Outbox {
public:
    explicit SlotOneOutbox(std::function<void(std::string_view)> take) : m_take(std::move(take)) {}
    void toSlot(int slot, std::string_view line) override
    {
        if (slot == 1)
            toAll(line);
    }
    void toAll(std::string_view line) override
    {
        if (!line.empty() && line.back() == '\xff')
            line.remove_suffix(1);
        m_take(line);
    }

private:
    std::function<void(std::string_view)> m_take;
};

/**
 * Starts a game of @p length ("s", "h", "l") on @p engine, driven by @p clock with no bot delay, with
 * "Ann" in seat 1 as a table that only watches: the computer plays every seat, and seat 1's table still
 * gets its hand. Firing the clock's timers plays the game out.
 */
void startWatchedGame(GameEngine& engine, FakeClock& clock, const std::string& length);

} // namespace morlu::test
