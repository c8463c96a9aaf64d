#include "lanhosting.h"

namespace morlu {

LanHosting::LanHosting(const LanHostingOptions& options, Logger logger, QObject* parent) : QObject(parent)
{
    if (options.announce)
        m_announcer = std::make_unique<LanAnnouncer>(options.name, options.port, logger);
    if (options.upnp) {
        m_router = std::make_unique<RouterPort>(options.port);
        connect(m_router.get(), &RouterPort::reachable, this, [this](const QString& address) {
            emit notice(reachableText(address));
            emit reachable(address);
        });
        connect(m_router.get(), &RouterPort::notReachable, this, [this](const QString& why) {
            emit notice(QStringLiteral("Not reachable from the internet: %1.").arg(why));
        });
        m_router->open();
    }
}

LanHosting::~LanHosting()
{
    end();
}

QString LanHosting::reachableText(const QString& address)
{
    return QStringLiteral("Reachable from the internet at %1").arg(address);
}

void LanHosting::setSeats(const AnnouncedSeats& seats)
{
    m_seats = seats;
    if (m_announcer)
        m_announcer->setSeats(seats);
}

void LanHosting::end()
{
    m_announcer.reset();
    if (m_router) {
        m_router->disconnect(this);
        m_router->close();
        m_router.reset();
    }
}

} // namespace morlu
