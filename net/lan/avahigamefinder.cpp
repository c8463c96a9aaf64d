#include "avahigamefinder.h"

#include "lanannouncer.h"

#include <algorithm>
#include <avahi-client/lookup.h>
#include <avahi-common/address.h>
#include <avahi-common/error.h>
#include <avahi-common/strlst.h>

namespace morlu {

AvahiGameFinder::AvahiGameFinder(DaemonClient::Logger logger, QObject* parent)
    : GameFinder(parent), m_daemon(std::move(logger))
{
    connect(&m_daemon, &DaemonClient::stateChanged, this, &AvahiGameFinder::follow);
    follow();
}

AvahiGameFinder::~AvahiGameFinder()
{
    drop();
}

QList<FoundGame> AvahiGameFinder::games() const
{
    QList<FoundGame> found;
    for (const Service& service : m_services) {
        if (service.resolved && !found.contains(service.game))
            found.append(service.game);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const FoundGame& a, const FoundGame& b) { return a.name.localeAwareCompare(b.name) < 0; });
    return found;
}

void AvahiGameFinder::readTxt(const QString& item, FoundGame& game)
{
    const qsizetype eq = item.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return;
    const QString key = item.left(eq);
    const QString value = item.mid(eq + 1);
    bool ok = false;
    const int number = value.toInt(&ok);
    ok = ok && number >= 0 && number <= 9;
    if (key == QLatin1String("version"))
        game.version = value;
    else if (key == QLatin1String("players") && ok)
        game.players = number;
    else if (key == QLatin1String("free") && ok)
        game.free = number;
    else if (key == QLatin1String("state"))
        game.playing = value == QLatin1String("playing");
}

void AvahiGameFinder::follow()
{
    drop();
    if (AvahiClient* client = m_daemon.client()) {
        m_browser = avahi_service_browser_new(
            client, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, LanAnnouncer::kServiceType, nullptr, AvahiLookupFlags(0),
            [](AvahiServiceBrowser* b, AvahiIfIndex interface, AvahiProtocol protocol, AvahiBrowserEvent event,
               const char* name, const char* type, const char* domain, AvahiLookupResultFlags,
               void* self) { browseCallback(b, interface, protocol, int(event), name, type, domain, self); },
            this);
    }
    emit changed();
}

void AvahiGameFinder::drop()
{
    for (Service& service : m_services) {
        if (service.resolver != nullptr)
            avahi_service_resolver_free(service.resolver);
    }
    m_services.clear();
    if (m_browser != nullptr)
        avahi_service_browser_free(std::exchange(m_browser, nullptr));
}

void AvahiGameFinder::browseCallback(AvahiServiceBrowser* browser, int interface, int protocol, int event,
                                     const char* name, const char* type, const char* domain, void* data)
{
    auto* self = static_cast<AvahiGameFinder*>(data);
    if (name == nullptr || domain == nullptr)
        return;
    const Key key{interface, protocol, QString::fromUtf8(name), QString::fromUtf8(domain)};
    switch (AvahiBrowserEvent(event)) {
    case AVAHI_BROWSER_NEW: {
        if (self->m_services.contains(key))
            return;
        // The resolver stays while the service is there: it reports each change of the TXT record.
        AvahiServiceResolver* resolver = avahi_service_resolver_new(
            avahi_service_browser_get_client(browser), interface, protocol, name, type, domain, AVAHI_PROTO_INET,
            AvahiLookupFlags(0),
            [](AvahiServiceResolver* r, AvahiIfIndex i, AvahiProtocol p, AvahiResolverEvent e, const char* n,
               const char*, const char*, const char* host, const AvahiAddress* a, uint16_t port, AvahiStringList* txt,
               AvahiLookupResultFlags, void* s) { resolveCallback(r, i, p, int(e), n, host, a, port, txt, s); },
            self);
        if (resolver != nullptr)
            self->m_services.insert(key, Service{resolver, false, {}});
        return;
    }
    case AVAHI_BROWSER_REMOVE: {
        const auto found = self->m_services.find(key);
        if (found == self->m_services.end())
            return;
        const bool wasListed = found->resolved;
        if (found->resolver != nullptr)
            avahi_service_resolver_free(found->resolver);
        self->m_services.erase(found);
        if (wasListed)
            emit self->changed();
        return;
    }
    case AVAHI_BROWSER_FAILURE:
    case AVAHI_BROWSER_CACHE_EXHAUSTED:
    case AVAHI_BROWSER_ALL_FOR_NOW:
        return;
    }
}

void AvahiGameFinder::resolveCallback(AvahiServiceResolver* resolver, int interface, int protocol, int event,
                                      const char* name, const char*, const void* address, quint16 port, const void* txt,
                                      void* data)
{
    auto* self = static_cast<AvahiGameFinder*>(data);
    Service* service = nullptr;
    for (Service& s : self->m_services) {
        if (s.resolver == resolver)
            service = &s;
    }
    Q_UNUSED(interface);
    Q_UNUSED(protocol);
    if (service == nullptr || AvahiResolverEvent(event) != AVAHI_RESOLVER_FOUND || address == nullptr)
        return; // a failure leaves the game unlisted; the resolver keeps trying
    FoundGame game;
    game.name = QString::fromUtf8(name);
    char text[AVAHI_ADDRESS_STR_MAX] = {};
    avahi_address_snprint(text, sizeof text, static_cast<const AvahiAddress*>(address));
    game.host = QString::fromLatin1(text);
    game.port = port;
    for (auto* item = static_cast<const AvahiStringList*>(txt); item != nullptr; item = item->next)
        readTxt(QString::fromUtf8(reinterpret_cast<const char*>(item->text), int(item->size)), game);
    if (service->resolved && service->game == game)
        return;
    service->resolved = true;
    service->game = game;
    emit self->changed();
}

} // namespace morlu
