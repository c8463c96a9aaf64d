#pragma once

#include <functional>

namespace morlu::test {

/**
 * Spins the Qt event loop until @p condition holds or @p milliseconds pass; true if it holds. It never
 * sleeps between events (so a table's 1 ms dispatch timer runs at its pace) and runs deferred deletes,
 * so sockets released with deleteLater are really gone when it returns.
 */
bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000);

} // namespace morlu::test
