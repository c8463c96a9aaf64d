#include "morluprogram.h"

#include "esockexception.h"
#include "tchat.h"
#include "tserver.h"
#include "tsocklistener.h"

namespace morlu {

namespace {

/// The socket error of a port that another program holds.
constexpr int kPortInUse = 10048;

} // namespace

MorluProgram::MorluProgram(const LaunchOptions& options)
    : m_table(std::make_unique<Tchat>(options.arguments,
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

    m_table->setHostStarter([server = m_server.get()](const QString& port, HostReach reach) {
        try {
            server->listen(port, reach == HostReach::ThisMachine ? QStringLiteral("127.0.0.1") : QString());
        } catch (const ESockException& error) {
            // A socket that failed to bind keeps its handle; let it go, so that the host may listen on
            // another port (a solo game falls back to a free one, a player may choose another).
            if (auto* tcp = qobject_cast<TSockListener*>(&server->listener()))
                tcp->sock().Close();
            return HostStarted{0, QString::fromLatin1(error.what()), error.code() == kPortInUse};
        }
        return HostStarted{server->port(), QString()};
    });
}

MorluProgram::~MorluProgram()
{
    // The host ends with this program: the tables that would otherwise try to come back are told so.
    if (m_server->hosting())
        m_server->announceClosing();
    // The table goes first: closing it must not find its host half gone.
    m_table.reset();
    m_server.reset();
}

} // namespace morlu
