#include "lanannouncer.h"

#include "names.h"

#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>
#include <string>

namespace morlu {

namespace {

/// The TXT record of @p seats; the caller frees it.
AvahiStringList* txtRecord(const AnnouncedSeats& seats)
{
    const std::string version = "version=" + std::string(kVersionText);
    const std::string players = "players=" + std::to_string(seats.players);
    const std::string free = "free=" + std::to_string(seats.free);
    return avahi_string_list_new(version.c_str(), players.c_str(), free.c_str(),
                                 seats.playing ? "state=playing" : "state=waiting", nullptr);
}

} // namespace

LanAnnouncer::LanAnnouncer(const QString& name, quint16 port, DaemonClient::Logger logger, QObject* parent)
    : QObject(parent), m_daemon(logger), m_name(serviceName(name)), m_port(port), m_log(std::move(logger))
{
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(kCoalesceMs);
    connect(&m_coalesce, &QTimer::timeout, this, &LanAnnouncer::updateRecord);
    connect(&m_daemon, &DaemonClient::stateChanged, this, &LanAnnouncer::follow);
    follow();
}

LanAnnouncer::~LanAnnouncer()
{
    dropGroup();
}

QString LanAnnouncer::serviceName(const QString& base, const QString& suffix)
{
    const qsizetype room = kMaxNameBytes - suffix.toUtf8().size();
    QString fitted = base;
    while (!fitted.isEmpty() && fitted.toUtf8().size() > room) {
        fitted.chop(1);
        if (!fitted.isEmpty() && fitted.back().isHighSurrogate())
            fitted.chop(1);
    }
    return fitted + suffix;
}

void LanAnnouncer::setSeats(const AnnouncedSeats& seats)
{
    if (seats == m_seats)
        return;
    m_seats = seats;
    if (!m_coalesce.isActive())
        m_coalesce.start();
}

void LanAnnouncer::follow()
{
    dropGroup();
    if (m_daemon.running())
        publish();
}

void LanAnnouncer::publish()
{
    AvahiClient* client = m_daemon.client();
    if (client == nullptr)
        return;
    m_group = avahi_entry_group_new(
        client, [](AvahiEntryGroup* g, AvahiEntryGroupState state, void* self) { groupCallback(g, int(state), self); },
        this);
    if (m_group == nullptr) {
        log(QStringLiteral("Cannot announce the game: %1").arg(avahi_strerror(avahi_client_errno(client))));
        return;
    }
    for (;;) {
        AvahiStringList* txt = txtRecord(m_seats);
        const QByteArray name = m_name.toUtf8();
        const int error =
            avahi_entry_group_add_service_strlst(m_group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0),
                                                 name.constData(), kServiceType, nullptr, nullptr, m_port, txt);
        avahi_string_list_free(txt);
        if (error == AVAHI_ERR_COLLISION) {
            // Taken by a service of this machine: the daemon knows at once.
            char* other = avahi_alternative_service_name(name.constData());
            m_name = QString::fromUtf8(other);
            avahi_free(other);
            avahi_entry_group_reset(m_group);
            continue;
        }
        if (error < 0 || (avahi_entry_group_commit(m_group)) < 0) {
            log(QStringLiteral("Cannot announce the game: %1").arg(avahi_strerror(avahi_client_errno(client))));
            dropGroup();
        }
        return;
    }
}

void LanAnnouncer::groupCallback(AvahiEntryGroup* group, int state, void* data)
{
    auto* self = static_cast<LanAnnouncer*>(data);
    // The first call may come from inside avahi_entry_group_new, before it has returned the group.
    self->m_group = group;
    switch (AvahiEntryGroupState(state)) {
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
        self->m_established = true;
        emit self->announced(self->m_name);
        return;
    case AVAHI_ENTRY_GROUP_COLLISION: {
        // Another machine has the name: take the daemon's alternative and announce again.
        const QByteArray name = self->m_name.toUtf8();
        char* other = avahi_alternative_service_name(name.constData());
        self->log(QStringLiteral("The name \"%1\" is taken on the network; announcing as \"%2\"")
                      .arg(self->m_name, QString::fromUtf8(other)));
        self->m_name = QString::fromUtf8(other);
        avahi_free(other);
        self->m_established = false;
        // Not from inside the group's own callback.
        QTimer::singleShot(0, self, &LanAnnouncer::follow);
        return;
    }
    case AVAHI_ENTRY_GROUP_FAILURE:
        self->m_established = false;
        self->log(QStringLiteral("Announcing the game failed: %1")
                      .arg(avahi_strerror(avahi_client_errno(avahi_entry_group_get_client(group)))));
        return;
    case AVAHI_ENTRY_GROUP_UNCOMMITED:
    case AVAHI_ENTRY_GROUP_REGISTERING:
        return;
    }
}

void LanAnnouncer::updateRecord()
{
    if (m_group == nullptr)
        return; // published with the current record when the daemon is back
    AvahiStringList* txt = txtRecord(m_seats);
    const QByteArray name = m_name.toUtf8();
    const int error =
        avahi_entry_group_update_service_txt_strlst(m_group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0),
                                                    name.constData(), kServiceType, nullptr, txt);
    avahi_string_list_free(txt);
    if (error < 0)
        log(QStringLiteral("Cannot update the game's announcement: %1").arg(avahi_strerror(error)));
}

void LanAnnouncer::dropGroup()
{
    m_established = false;
    if (m_group != nullptr)
        avahi_entry_group_free(std::exchange(m_group, nullptr));
}

void LanAnnouncer::log(const QString& text) const
{
    if (m_log)
        m_log(text);
}

} // namespace morlu
