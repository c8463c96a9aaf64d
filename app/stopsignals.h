#pragma once

#include <QObject>

class QSocketNotifier;

namespace morlu {

/**
 * Turns the signals that ask a program to end (SIGINT, SIGTERM and SIGHUP, as sent by Ctrl+C, by the
 * system at shutdown and by a closing session) into a Qt signal on the main thread, so the program ends
 * in an orderly way: windows close and what must be saved (the tally, the settings) is saved.
 *
 * The handler itself only writes one byte to a socket pair, keeping errno; the event loop reads it and
 * emits stopRequested(). A second SIGINT or SIGTERM after any stop signal ends the program at once,
 * by that signal, for a program that hangs on its way out. One object per program; it installs the
 * handlers when created.
 */
class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    /// False when the handlers could not be installed (the program then ends the hard way on a signal).
    bool installed() const { return m_installed; }

signals:
    /// A stop signal arrived (once per signal).
    void stopRequested(int signal);

private:
    void readSignals();

    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false;
};

} // namespace morlu
