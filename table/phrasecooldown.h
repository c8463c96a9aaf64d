#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <functional>

/**
 * The pause after a phrase button: "Buttons can only be used once every 2 seconds". It is measured on a
 * clock, not counted in timer ticks, so it lasts two seconds however busy the table is, and nothing runs
 * while nobody clicks. Tests hand in a clock of their own.
 */
class PhraseCooldown {
public:
    /// Milliseconds since some fixed start; a monotonic clock unless a test sets one.
    using Clock = std::function<std::int64_t()>;
    static constexpr std::int64_t kMilliseconds = 2000;

    explicit PhraseCooldown(Clock now = {});

    /** phraseready: no phrase was sent in the last two seconds. */
    bool ready() const;
    /** A phrase was just sent. */
    void start();

private:
    Clock m_now;
    QElapsedTimer m_elapsed;
    bool m_running = false;
    std::int64_t m_startedAt = 0;
};
