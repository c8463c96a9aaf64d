#pragma once

#include "timers.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace morlu {

/**
 * The engine's two named timers on the event loop: `timer1` (the pauses between tricks and rounds)
 * and `computertimer` (the computer players' delay). Each is a QTimer that fires every interval until
 * stopped; an interval of 0 fires on the next turn of the event loop. Every firing goes to the
 * handler, which the host points at GameEngine::timerFired. Stopped timers cost nothing.
 */
class SessionTimers : public QObject, public Timers {
    Q_OBJECT

public:
    using Handler = std::function<void(TimerId)>;

    explicit SessionTimers(QObject* parent = nullptr);

    void setHandler(Handler handler) { m_handler = std::move(handler); }

    void arm(TimerId id, int intervalMs) override;
    void stop(TimerId id) override;

    bool armed(TimerId id) const { return timer(id).isActive(); }
    int interval(TimerId id) const { return timer(id).interval(); }

private:
    QTimer& timer(TimerId id) { return id == TimerId::Timer1 ? m_timer1 : m_computertimer; }
    const QTimer& timer(TimerId id) const { return id == TimerId::Timer1 ? m_timer1 : m_computertimer; }
    void fired(TimerId id);

    QTimer m_timer1;
    QTimer m_computertimer;
    Handler m_handler;
};

} // namespace morlu
