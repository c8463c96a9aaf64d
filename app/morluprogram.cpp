#include "morluprogram.h"

#include "avahigamefinder.h"
#include "esockexception.h"
#include "lanhosting.h"
#include "sockerrors.h"
#include "tchat.h"
#include "tserver.h"
#include "tsocklistener.h"

#include <cstdio>

namespace morlu {

namespace {

void logLine(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace

MorluProgram::MorluProgram(const LaunchOptions& options)
    : m_options(options),
      m_table(std::make_unique<Tchat>(options.arguments,
                                      options.port ? QString::number(*options.port) : QStringLiteral("7772"))),
      m_server(std::make_unique<TServer>())
{
    // Without a seed the host deals from the system's secure random source.
    if (options.seed)
        m_server->useSeed(*options.seed);
    if (options.pauseTickMs)
        m_server->engine().setPauseTick(*options.pauseTickMs);
    if (options.computer) {
        for (int seat = 1; seat <= kSeatCount; ++seat)
            m_server->engine().setComputerLevel(seat, *options.computer);
    }

    m_finder = std::make_unique<AvahiGameFinder>(logLine);
    m_table->setGameFinder(m_finder.get());

    m_table->setHostStarter([this, server = m_server.get()](const QString& port, HostReach reach) {
        try {
            server->listen(port, reach == HostReach::ThisMachine ? QStringLiteral("127.0.0.1") : QString());
        } catch (const ESockException& error) {
            // A socket that failed to bind keeps its handle; let it go, so that the host may listen on
            // another port (a solo game falls back to a free one, a player may choose another).
            if (auto* tcp = qobject_cast<TSockListener*>(&server->listener()))
                tcp->sock().Close();
            return HostStarted{0, QString::fromLatin1(error.what()), error.code() == sockerrors::kAddressInUse};
        }
        // A solo game stays on this machine: nobody else hears of it.
        if (reach == HostReach::Everyone)
            startLanHosting(server->port());
        return HostStarted{server->port(), QString()};
    });
}

void MorluProgram::startLanHosting(quint16 port)
{
    LanHostingOptions lan;
    lan.name = LanAnnouncer::serviceName(m_table->state().myname, QStringLiteral("'s game"));
    lan.port = port;
    lan.announce = m_options.announce;
    lan.upnp = m_options.upnp;
    m_lan = std::make_unique<LanHosting>(lan, logLine);
    // Queued: the router answers while the table may still be starting up.
    QObject::connect(m_lan.get(), &LanHosting::notice, m_table.get(), &Tchat::hostNotice, Qt::QueuedConnection);
    QObject::connect(m_lan.get(), &LanHosting::reachable, m_table.get(), &Tchat::addReachableAddress,
                     Qt::QueuedConnection);
    QObject::connect(m_server.get(), &TServer::seatsChanged, m_lan.get(), [this] {
        m_lan->setSeats({m_server->seatedPlayers(), m_server->freeSeats(), m_server->playing()});
    });
}

MorluProgram::~MorluProgram()
{
    // The host ends with this program: the tables that would otherwise try to come back are told so.
    if (m_server->hosting())
        m_server->announceClosing();
    // The table goes first: closing it must not find its host half gone.
    m_table.reset();
    // The host ends: the announcement goes and the router forgets the port.
    if (m_lan)
        m_lan->end();
    m_lan.reset();
    m_finder.reset();
    m_server.reset();
}

} // namespace morlu
