#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

/**
 * A one-shot timer as the table's parts use it: start() arms it (again, from now, when it runs), stop()
 * disarms it, and the function given to setTimeout() runs once when it falls due. The window gives its
 * parts the Qt one (QtOneShotTimer); tests give a timer on a hand-driven clock, so a second passes in no
 * time and nothing is ever measured.
 */
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;

    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    /** What runs when the timer falls due; replaces the one set before. */
    void setTimeout(std::function<void()> timeout) { m_timeout = std::move(timeout); }

protected:
    /** The timer fell due: runs the function (implementations call this once per start). */
    void fire()
    {
        if (m_timeout)
            m_timeout();
    }

private:
    std::function<void()> m_timeout;
};

/** The one-shot timer of the running program: a single-shot QTimer. */
class QtOneShotTimer : public QObject, public OneShotTimer {
    Q_OBJECT

public:
    explicit QtOneShotTimer(QObject* parent = nullptr);

    void start(int milliseconds) override { m_timer.start(milliseconds); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};
