#pragma once

#include <QtGlobal>

#include <unordered_map>

namespace morlu {

/**
 * Keeps one table's repeated errors from flooding the host's log: each connection may log at most
 * kLinesPerSecond error lines in any one-second window; the rest are counted, and the count is written
 * as one summary line when the next window opens or the connection goes. Times are milliseconds of a
 * monotonic clock, handed in by the caller.
 */
class LogLimiter {
public:
    static constexpr int kLinesPerSecond = 5;

    /**
     * True when an error of @p connection may be logged at @p nowMs. @p suppressed is set to the number
     * of errors held back since the last line that was logged, which the caller reports first (0 when
     * none, and whenever false is returned).
     */
    bool allow(int connection, qint64 nowMs, int& suppressed);
    /// Forgets @p connection; returns its errors held back and not reported yet.
    int forget(int connection);

private:
    struct Window {
        qint64 start = 0;
        int logged = 0;
        int suppressed = 0;
    };
    std::unordered_map<int, Window> m_windows;
};

} // namespace morlu
