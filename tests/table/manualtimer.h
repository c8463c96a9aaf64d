#pragma once

#include "oneshottimer.h"

#include <cstdint>

namespace morlu::test {

/// A one-shot timer on a clock the test advances by hand: it fires once it is due, never by itself.
class ManualTimer : public OneShotTimer {
public:
    void start(int milliseconds) override
    {
        m_active = true;
        m_due = m_now + milliseconds;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    /// Moves the clock on by @p milliseconds, firing the timer if it falls due on the way.
    void advance(std::int64_t milliseconds)
    {
        m_now += milliseconds;
        if (m_active && m_now >= m_due) {
            m_active = false;
            fire();
        }
    }

private:
    std::int64_t m_now = 0;
    std::int64_t m_due = 0;
    bool m_active = false;
};

} // namespace morlu::test
