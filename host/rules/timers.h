#pragma once

namespace morlu {

/// The host's two pacing timers.
enum class TimerId {
    Timer1,        ///< pauses between tricks and rounds, counted down in ticks
    ComputerTimer, ///< the computer players' delay before a card
};

/**
 * Arms and stops the engine's named timers. An armed timer fires every interval until it is stopped;
 * arming one that runs restarts it with the new interval. The session implements it with QTimer,
 * tests with a fake clock that fires due timers in order.
 */
class Timers {
public:
    virtual ~Timers() = default;
    virtual void arm(TimerId id, int intervalMs) = 0;
    virtual void stop(TimerId id) = 0;
};

} // namespace morlu
