#include "daemonclient.h"

#include <avahi-client/client.h>
#include <avahi-common/error.h>

namespace morlu {

namespace {

/// The program says once that the daemon is missing, however many clients (announcement, finder) notice.
bool g_saidUnavailable = false;

} // namespace

DaemonClient::DaemonClient(Logger logger, QObject* parent) : QObject(parent), m_log(std::move(logger))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryInterval);
    connect(&m_retry, &QTimer::timeout, this, &DaemonClient::connectToDaemon);
    connectToDaemon();
}

DaemonClient::~DaemonClient()
{
    // Users have freed their objects by now (they are children or outlived by this object's owner);
    // freeing the client withdraws whatever is left.
    if (m_client != nullptr)
        avahi_client_free(m_client);
}

void DaemonClient::connectToDaemon()
{
    int error = 0;
    // Without the daemon the client waits for it (CONNECTING) instead of failing.
    AvahiClient* client = avahi_client_new(
        m_poll.poll(), AVAHI_CLIENT_NO_FAIL,
        [](AvahiClient* c, AvahiClientState state, void* self) { clientCallback(c, int(state), self); }, this, &error);
    if (client == nullptr) {
        unavailable(QString::fromUtf8(avahi_strerror(error)));
        m_retry.start();
        return;
    }
    m_client = client;
}

void DaemonClient::clientCallback(AvahiClient* client, int state, void* data)
{
    auto* self = static_cast<DaemonClient*>(data);
    // The first call comes from inside avahi_client_new, before it has returned the client.
    self->m_client = client;
    switch (AvahiClientState(state)) {
    case AVAHI_CLIENT_S_RUNNING:
        if (std::exchange(self->m_saidUnavailable, false) && std::exchange(g_saidUnavailable, false) && self->m_log)
            self->m_log(QStringLiteral("Local network discovery is available again"));
        self->m_running = true;
        emit self->stateChanged();
        return;
    case AVAHI_CLIENT_S_REGISTERING:
    case AVAHI_CLIENT_S_COLLISION:
        // The daemon re-registers its host name: everything published is to be made again.
        self->m_running = false;
        emit self->stateChanged();
        return;
    case AVAHI_CLIENT_CONNECTING:
        self->m_running = false;
        self->unavailable(QStringLiteral("the Avahi daemon is not running"));
        emit self->stateChanged();
        return;
    case AVAHI_CLIENT_FAILURE: {
        const int error = avahi_client_errno(client);
        self->m_running = false;
        self->unavailable(QString::fromUtf8(avahi_strerror(error)));
        emit self->stateChanged();
        // The daemon went away (or restarts): a new client waits for it. Not from inside its callback.
        QTimer::singleShot(0, self, [self] {
            self->dropClient();
            self->connectToDaemon();
        });
        return;
    }
    }
}

void DaemonClient::dropClient()
{
    if (m_client == nullptr)
        return;
    m_running = false;
    avahi_client_free(std::exchange(m_client, nullptr));
}

void DaemonClient::unavailable(const QString& why)
{
    if (std::exchange(m_saidUnavailable, true) || std::exchange(g_saidUnavailable, true) || !m_log)
        return;
    m_log(QStringLiteral("Local network discovery is unavailable: %1").arg(why));
}

} // namespace morlu
