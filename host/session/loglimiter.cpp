#include "loglimiter.h"

namespace morlu {

bool LogLimiter::allow(int connection, qint64 nowMs, int& suppressed)
{
    suppressed = 0;
    auto [it, added] = m_windows.try_emplace(connection);
    Window& window = it->second;
    if (added || nowMs - window.start >= 1000) {
        suppressed = window.suppressed;
        window = Window{nowMs, 0, 0};
    }
    if (window.logged >= kLinesPerSecond) {
        ++window.suppressed;
        suppressed = 0;
        return false;
    }
    ++window.logged;
    return true;
}

int LogLimiter::forget(int connection)
{
    const auto it = m_windows.find(connection);
    if (it == m_windows.end())
        return 0;
    const int suppressed = it->second.suppressed;
    m_windows.erase(it);
    return suppressed;
}

} // namespace morlu
