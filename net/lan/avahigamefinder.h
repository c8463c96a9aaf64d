#pragma once

#include "daemonclient.h"
#include "gamefinder.h"

#include <QMap>
#include <QString>

#include <tuple>

struct AvahiServiceBrowser;
struct AvahiServiceResolver;

namespace morlu {

/**
 * The games announced on the local network (`_morlu._tcp`), found through the system's DNS-SD daemon:
 * each service found is resolved to its IPv4 address, port and TXT record, and followed while it is
 * there (its record changes as players come and go). available() is false while the daemon cannot be
 * reached; the finder picks the daemon up when it appears.
 */
class AvahiGameFinder : public GameFinder {
    Q_OBJECT

public:
    explicit AvahiGameFinder(DaemonClient::Logger logger, QObject* parent = nullptr);
    ~AvahiGameFinder() override;

    bool available() const override { return m_browser != nullptr; }
    /// The games resolved so far, by name.
    QList<FoundGame> games() const override;

    /// Reads one TXT item ("players=3") into @p game; unknown keys and bad numbers are left alone.
    static void readTxt(const QString& item, FoundGame& game);

private:
    /// One service as the daemon reports it: interface, protocol, name, domain.
    using Key = std::tuple<int, int, QString, QString>;
    struct Service {
        AvahiServiceResolver* resolver = nullptr;
        bool resolved = false;
        FoundGame game;
    };

    static void browseCallback(AvahiServiceBrowser* browser, int interface, int protocol, int event, const char* name,
                               const char* type, const char* domain, void* self);
    static void resolveCallback(AvahiServiceResolver* resolver, int interface, int protocol, int event,
                                const char* name, const char* host, const void* address, quint16 port, const void* txt,
                                void* self);
    void follow();
    void drop();

    DaemonClient m_daemon;
    AvahiServiceBrowser* m_browser = nullptr;
    QMap<Key, Service> m_services;
};

} // namespace morlu
