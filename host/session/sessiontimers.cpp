#include "sessiontimers.h"

namespace morlu {

SessionTimers::SessionTimers(QObject* parent) : QObject(parent)
{
    m_timer1.setObjectName(QStringLiteral("timer1"));
    m_computertimer.setObjectName(QStringLiteral("computertimer"));
    for (QTimer* t : {&m_timer1, &m_computertimer})
        t->setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, [this] { fired(TimerId::Timer1); });
    connect(&m_computertimer, &QTimer::timeout, this, [this] { fired(TimerId::ComputerTimer); });
}

void SessionTimers::arm(TimerId id, int intervalMs)
{
    timer(id).start(intervalMs < 0 ? 0 : intervalMs);
}

void SessionTimers::stop(TimerId id)
{
    timer(id).stop();
}

void SessionTimers::fired(TimerId id)
{
    if (m_handler)
        m_handler(id);
}

} // namespace morlu
