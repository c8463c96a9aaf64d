#pragma once

#include "lanannouncer.h"
#include "routerport.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace morlu {

/** What a host does beyond listening: announce itself, open the router's port. */
struct LanHostingOptions {
    QString name; ///< the announced name ("Ann's game", or a dedicated host's --name)
    quint16 port = 0;
    bool announce = true;
    bool upnp = false;
};

/**
 * A host's presence beyond its own machine, for as long as it hosts: its announcement on the local
 * network and its port on the router, as asked. Feed it the seats (setSeats) as they change; it says
 * what came of the router (notice(), reachable()) and logs the rest. end() withdraws both (the host
 * ends; also on a stop signal); destruction does the same.
 */
class LanHosting : public QObject {
    Q_OBJECT

public:
    using Logger = std::function<void(const QString&)>;

    LanHosting(const LanHostingOptions& options, Logger logger, QObject* parent = nullptr);
    ~LanHosting() override;

    void setSeats(const AnnouncedSeats& seats);
    /// Withdraws the announcement and removes the router's mapping (waits for the router). Idempotent.
    void end();

    /// Null when not announcing, or after end().
    LanAnnouncer* announcer() const { return m_announcer.get(); }
    /// Null without --upnp, or after end().
    RouterPort* router() const { return m_router.get(); }

    /// The line said when the router's port is open: "Reachable from the internet at ADDRESS:PORT".
    static QString reachableText(const QString& address);

signals:
    /// A line for the player about the router: reachable, or why not.
    void notice(const QString& text);
    /// The address a friend on the internet can type ("203.0.113.7:7772").
    void reachable(const QString& address);

private:
    std::unique_ptr<LanAnnouncer> m_announcer;
    std::unique_ptr<RouterPort> m_router;
    AnnouncedSeats m_seats;
};

} // namespace morlu
