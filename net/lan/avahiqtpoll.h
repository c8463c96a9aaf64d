#pragma once

#include <avahi-common/watch.h>

namespace morlu {

/**
 * Avahi's poll interface on Qt's event loop: watches are QSocketNotifiers, timeouts single-shot
 * QTimers, all on the thread that creates the object. Hand poll() to avahi_client_new(); the adapter
 * must outlive every client made with it.
 */
class AvahiQtPoll {
public:
    AvahiQtPoll();
    AvahiQtPoll(const AvahiQtPoll&) = delete;
    AvahiQtPoll& operator=(const AvahiQtPoll&) = delete;

    const AvahiPoll* poll() const { return &m_poll; }

private:
    AvahiPoll m_poll;
};

} // namespace morlu
