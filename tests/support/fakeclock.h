#pragma once

#include "timers.h"

#include <cstdint>
#include <functional>
#include <map>

namespace morlu::test {

/**
 * Timers on a hand-driven clock. Armed timers fire in due order (ties in arming order) while the test
 * advances time; nothing waits for real time, so whole games run in milliseconds.
 */
class FakeClock : public Timers {
public:
    using Handler = std::function<void(TimerId)>;

    /// Called for every firing; usually forwards to GameEngine::timerFired.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    void arm(TimerId id, int intervalMs) override;
    void stop(TimerId id) override;

    bool armed(TimerId id) const;
    int interval(TimerId id) const;
    std::int64_t now() const { return m_now; }

    /// Advance by @p ms, firing every timer that falls due on the way. Returns the number of firings.
    int advance(std::int64_t ms);
    /// Fire the next due timer, whatever its delay. Returns false when no timer is armed.
    bool fireNext();
    /// Fire timers until none is armed or @p maxFirings is reached. Returns the number of firings.
    int runUntilIdle(int maxFirings = 1000000);

private:
    struct Entry {
        bool armed = false;
        int interval = 0;
        std::int64_t due = 0;
        std::uint64_t order = 0;
    };
    Entry* nextDue();

    std::map<TimerId, Entry> m_timers;
    Handler m_handler;
    std::int64_t m_now = 0;
    std::uint64_t m_armings = 0;
};

} // namespace morlu::test
