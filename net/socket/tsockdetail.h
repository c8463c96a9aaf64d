#pragma once

// Helpers shared by the units of TSock (tsock.cpp, tsockconnect.cpp, tsockoptions.cpp); not for users.

#include <utility>

namespace morlu::tsockdetail {

/// Calls a copy of the handler, so a handler that replaces itself or destroys its socket stays valid.
template <typename Handler, typename... Args> void call(const Handler& handler, Args&&... args)
{
    if (handler) {
        const Handler copy = handler;
        copy(std::forward<Args>(args)...);
    }
}

/// Messages are short lines that must go out at once (a played card, a turn): never hold them back
/// waiting for more to send.
void disableNagle(int fd);

} // namespace morlu::tsockdetail
