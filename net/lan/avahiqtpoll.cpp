#include "avahiqtpoll.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <avahi-common/timeval.h>
#include <utility>

// Avahi leaves the watch and timeout records to the poll implementation.

struct AvahiWatch {
    int fd = -1;
    AvahiWatchEvent events = AvahiWatchEvent(0);
    AvahiWatchEvent revents = AvahiWatchEvent(0); ///< what the running callback was woken for
    AvahiWatchCallback callback = nullptr;
    void* userdata = nullptr;
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
};

struct AvahiTimeout {
    QTimer* timer = nullptr;
    AvahiTimeoutCallback callback = nullptr;
    void* userdata = nullptr;
};

namespace {

/// The notifier or timer whose signal runs an Avahi callback now: freeing it must wait for the signal
/// to return; anything else is deleted at once (deferred deletes may never run once the loop ends).
QObject* g_running = nullptr;

void release(QObject* object)
{
    object->disconnect();
    if (object == g_running)
        object->deleteLater();
    else
        delete object;
}

/// The callback may free its own watch or timeout: nothing touches the record after it returns.
void fire(AvahiWatch* w, QObject* notifier, AvahiWatchEvent event)
{
    QObject* const outer = std::exchange(g_running, notifier);
    w->revents = event;
    w->callback(w, w->fd, event, w->userdata);
    g_running = outer;
}

void dropNotifier(QSocketNotifier*& notifier)
{
    if (notifier == nullptr)
        return;
    notifier->setEnabled(false);
    release(notifier);
    notifier = nullptr;
}

void watchUpdate(AvahiWatch* w, AvahiWatchEvent events)
{
    w->events = events;
    const bool wantRead = (events & (AVAHI_WATCH_IN | AVAHI_WATCH_HUP | AVAHI_WATCH_ERR)) != 0;
    const bool wantWrite = (events & AVAHI_WATCH_OUT) != 0;
    if (wantRead && w->read == nullptr) {
        w->read = new QSocketNotifier(qintptr(w->fd), QSocketNotifier::Read);
        QObject::connect(w->read, &QSocketNotifier::activated, [w] { fire(w, w->read, AVAHI_WATCH_IN); });
    }
    if (wantWrite && w->write == nullptr) {
        w->write = new QSocketNotifier(qintptr(w->fd), QSocketNotifier::Write);
        QObject::connect(w->write, &QSocketNotifier::activated, [w] { fire(w, w->write, AVAHI_WATCH_OUT); });
    }
    if (w->read != nullptr)
        w->read->setEnabled(wantRead);
    if (w->write != nullptr)
        w->write->setEnabled(wantWrite);
}

AvahiWatch* watchNew(const AvahiPoll*, int fd, AvahiWatchEvent events, AvahiWatchCallback callback, void* userdata)
{
    auto* w = new AvahiWatch;
    w->fd = fd;
    w->callback = callback;
    w->userdata = userdata;
    watchUpdate(w, events);
    return w;
}

AvahiWatchEvent watchGetEvents(AvahiWatch* w)
{
    return w->revents;
}

void watchFree(AvahiWatch* w)
{
    dropNotifier(w->read);
    dropNotifier(w->write);
    delete w;
}

void timeoutUpdate(AvahiTimeout* t, const struct timeval* tv)
{
    if (tv == nullptr) {
        t->timer->stop();
        return;
    }
    // avahi_age() is how long ago tv was, in microseconds: negative while it lies ahead.
    const AvahiUsec ahead = -avahi_age(tv);
    t->timer->start(int(std::clamp<AvahiUsec>((ahead + 999) / 1000, 0, 24 * 3600 * 1000)));
}

AvahiTimeout* timeoutNew(const AvahiPoll*, const struct timeval* tv, AvahiTimeoutCallback callback, void* userdata)
{
    auto* t = new AvahiTimeout;
    t->timer = new QTimer;
    t->timer->setSingleShot(true);
    t->callback = callback;
    t->userdata = userdata;
    QObject::connect(t->timer, &QTimer::timeout, [t] {
        QObject* const outer = std::exchange(g_running, t->timer);
        t->callback(t, t->userdata);
        g_running = outer;
    });
    timeoutUpdate(t, tv);
    return t;
}

void timeoutFree(AvahiTimeout* t)
{
    t->timer->stop();
    release(t->timer);
    delete t;
}

} // namespace

namespace morlu {

AvahiQtPoll::AvahiQtPoll()
{
    m_poll.userdata = this;
    m_poll.watch_new = watchNew;
    m_poll.watch_update = watchUpdate;
    m_poll.watch_get_events = watchGetEvents;
    m_poll.watch_free = watchFree;
    m_poll.timeout_new = timeoutNew;
    m_poll.timeout_update = timeoutUpdate;
    m_poll.timeout_free = timeoutFree;
}

} // namespace morlu
