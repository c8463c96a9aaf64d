#include "waituntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace morlu::test {

bool waitUntil(const std::function<bool()>& condition, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    QTimer wake; // so that the time-out is noticed while nothing else happens
    wake.start(20);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

} // namespace morlu::test
