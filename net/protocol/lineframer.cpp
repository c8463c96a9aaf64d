#include "lineframer.h"

#include "linequeue.h"

namespace morlu {

LineFramer::Status LineFramer::feed(std::string_view bytes, LineQueue& queue, int connection)
{
    return feed(bytes, [&](std::string_view line) { queue.push(connection, line); });
}

} // namespace morlu
