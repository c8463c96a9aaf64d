#pragma once

#include "avahiqtpoll.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

struct AvahiClient;

namespace morlu {

/**
 * The connection to the system's DNS-SD daemon, kept up for the life of the object: made at once,
 * waiting when the daemon is not there, and made again when the daemon restarts or appears later.
 * Its users (the announcement, the finder) make their objects on client() while running() and drop
 * them on stateChanged() otherwise, before the client goes away.
 *
 * When the daemon cannot be reached, one line goes to the logger (one for the whole program, however
 * many clients notice); another only after it was back.
 */
class DaemonClient : public QObject {
    Q_OBJECT

public:
    using Logger = std::function<void(const QString&)>;
    /// Milliseconds between attempts while even the system bus cannot be reached.
    static constexpr int kRetryInterval = 5000;

    explicit DaemonClient(Logger logger, QObject* parent = nullptr);
    ~DaemonClient() override;

    /// The client while the daemon serves it (null otherwise).
    AvahiClient* client() const { return m_running ? m_client : nullptr; }
    bool running() const { return m_running; }

signals:
    /// running() changed, or the daemon asks to register anew (a host name change or collision):
    /// users drop what they made on the old client and, if running(), make it again.
    void stateChanged();

private:
    static void clientCallback(AvahiClient* client, int state, void* self);
    void connectToDaemon();
    void dropClient();
    void unavailable(const QString& why);

    AvahiQtPoll m_poll;
    AvahiClient* m_client = nullptr;
    bool m_running = false;
    bool m_saidUnavailable = false;
    QTimer m_retry;
    Logger m_log;
};

} // namespace morlu
