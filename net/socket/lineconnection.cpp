#include "lineconnection.h"

namespace morlu {

LineConnection::LineConnection(QObject* parent) : QObject(parent) {}

LineConnection::~LineConnection() = default;

void LineConnection::deliver(std::string_view bytes)
{
    if (m_framer.failed())
        return;
    bool stopped = false;
    const LineFramer::Status status = m_framer.feed(bytes, [&](std::string_view line) {
        if (stopped)
            return;
        emit lineReceived(line);
        stopped = !isOpen();
    });
    if (status != LineFramer::Status::Ok && !stopped)
        emit lineTooLong();
}

} // namespace morlu
