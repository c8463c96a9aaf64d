#include "tableconnection.h"

#include "commands.h"
#include "esockexception.h"
#include "tabledialogs.h"
#include "tablelink.h"
#include "tablestate.h"
#include "tsock.h"

#include <QMetaObject>

#include <algorithm>

namespace {

/// What a player can do about a join that failed for @p reason; empty when there is nothing to add.
QString joinAdvice(const QString& reason)
{
    if (reason == QLatin1String("connection refused"))
        return QStringLiteral("No game is hosted on that port there: check the address and the port, and that the "
                              "game has been started (File > Host Game).");
    if (reason == QLatin1String("host not found"))
        return QStringLiteral("No machine has that name: check the address for typing mistakes, or type the host's "
                              "numeric address (such as 192.168.1.20).");
    for (const char* silent :
         {"no answer (timed out)", "host unreachable", "host is down", "network unreachable", "network is down"}) {
        if (reason == QLatin1String(silent))
            return QStringLiteral("The host's machine does not answer: check that it is on the same network as "
                                  "yours and that no firewall blocks the port.");
    }
    return QString();
}

} // namespace

TableConnection::TableConnection(TableState& state, TableDialogs& dialogs, QObject* parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_link(new TableLink(this)), m_sock11(new morlu::TSock(this))
{
    // A socket handler that throws is logged and the table goes on, as with a malformed line.
    morlu::TSock::setUncaughtErrorHandler(
        [](const QString& text) { qWarning("Morlu: socket handler failed: %s", qPrintable(text)); });
    connect(m_link, &TableLink::closed, this, &TableConnection::linkClosed);
    connect(m_link, &TableLink::lineHandled, this, [this] {
        m_reconnecting = false;
        if (m_joining) {
            m_joining = false;
            emit joined(m_address, m_port);
        }
    });
    connect(&m_link->connection(), &morlu::LineConnection::connected, this, [this] { m_offline = false; });
    connect(this, &TableConnection::ended, this, [this] {
        m_ending = true;
        m_reconnectTimer.stop();
    });
    m_reconnectTimer.setSingleShot(true);
    connect(&m_reconnectTimer, &QTimer::timeout, this, [this] {
        ++m_attempts;
        m_state.rejoining = true;
        connectToHost();
    });
    // Asked from the event loop, not from inside the socket's report.
    connect(&m_link->connection(), &morlu::LineConnection::connectFailed, this, &TableConnection::connectFailed,
            Qt::QueuedConnection);
    m_sock11->setObjectName(QStringLiteral("Sock11"));
    m_sock11->setHostName(QStringLiteral("127.0.0.1"));
    m_sock11->setPortName(QStringLiteral("9001"));
    // The lobby program has nothing to tell the table: what it sends is read and dropped, and a lobby
    // that keeps sending is let go once it has sent kLobbyReadLimit bytes.
    m_sock11->OnRead = [this](morlu::TSock* sock, qsizetype) {
        m_lobbyReceived += sock->Receive().size();
        if (m_lobbyReceived >= kLobbyReadLimit)
            sock->Close();
    };
}

void TableConnection::registerOn(morlu::Dispatcher<>& dispatcher)
{
    dispatcher.add(morlu::CMD_full, [this](std::string_view) {
        if (m_replaying)
            return;
        m_dialogs.showMessage(QStringLiteral("Game is full"));
        emit ended();
    });
    dispatcher.add(morlu::CMD_removed,
                   [this](std::string_view) { farewell(QStringLiteral("You have been removed from the game.")); });
    dispatcher.add(morlu::CMD_hostclosing,
                   [this](std::string_view) { farewell(QStringLiteral("The host has ended the game.")); });
}

void TableConnection::setReconnectTimes(int windowMs, int firstRetryMs, int maxRetryMs)
{
    m_reconnectWindowMs = windowMs;
    m_firstRetryMs = firstRetryMs;
    m_maxRetryMs = maxRetryMs;
}

void TableConnection::farewell(const QString& text)
{
    if (m_ending || m_replaying)
        return;
    m_ending = true;
    emit leaving();
    m_dialogs.showMessage(text);
    emit ended();
}

void TableConnection::linkClosed()
{
    if (m_ending)
        return;
    // The host player's table ends with its own host; a table that never logged in has no seat to keep.
    if (m_state.ishost || !m_state.connected) {
        emit ended();
        return;
    }
    m_offline = true;
    m_unseated = true;
    if (!m_reconnecting) {
        m_reconnecting = true;
        m_toldDropped = false;
        m_attempts = 0;
        m_lostFor.start();
        emit notice(QStringLiteral("Connection to the host lost. Reconnecting..."));
        emit reconnectingStarted();
    }
    scheduleReconnect();
}

void TableConnection::scheduleReconnect()
{
    const qint64 left = m_reconnectWindowMs - m_lostFor.elapsed();
    if (left <= 0) {
        m_reconnecting = false;
        farewell(QStringLiteral("The host cannot be reached."));
        return;
    }
    qint64 pause = 0;
    if (m_attempts > 0)
        pause = std::min<qint64>(qint64(m_firstRetryMs) << std::min(m_attempts - 1, 16), m_maxRetryMs);
    m_reconnectTimer.start(int(std::min(pause, left)));
}

bool TableConnection::host(const QString& port, HostReach reach)
{
    const HostStarted host =
        m_hostStarter ? m_hostStarter(port, reach) : HostStarted{0, QStringLiteral("This program has no host"), false};
    if (!host.ok()) {
        if (host.portInUse && reach == HostReach::Everyone && m_portInUseOffer) {
            m_portInUseOffer(port);
            return false;
        }
        QString text = host.error;
        if (host.portInUse)
            text += QStringLiteral("\n\nPort %1 is already in use: another game may be running on this machine. "
                                   "Close it, or start with another port (--port).")
                        .arg(port);
        m_dialogs.showWarning(text);
        emit ended();
        return false;
    }
    m_state.ishost = true;
    // Always the own machine, whatever hostaddress says; the bound port also covers "--port 0".
    m_address = QStringLiteral("127.0.0.1");
    m_port = QString::number(host.port);
    connectToHost();
    return true;
}

void TableConnection::join(const QString& address, const QString& port)
{
    m_address = address;
    m_port = port;
    m_joining = true;
    connectToHost();
}

void TableConnection::connectToHost()
{
    try {
        m_link->open(m_address, m_port);
    } catch (const morlu::ESockException& error) {
        const QString reason = QString::fromLatin1(error.what()).startsWith(QLatin1String("Host Lookup"))
                                   ? QStringLiteral("host not found")
                                   : QString::fromLatin1(error.what());
        QMetaObject::invokeMethod(
            this, [this, reason] { connectFailed(reason); }, Qt::QueuedConnection);
    }
}

void TableConnection::connectFailed(const QString& reason)
{
    if (m_reconnecting) {
        scheduleReconnect();
        return;
    }
    QString text = QStringLiteral("Could not connect to %1 port %2: %3").arg(m_address, m_port, reason);
    // The own host is on this machine and has just listened: only a join needs telling what to check.
    if (const QString advice = joinAdvice(reason); !m_state.ishost && !advice.isEmpty())
        text += QStringLiteral("\n\n") + advice;
    // The own host is always on this machine: only a join has an address to change.
    using Answer = TableDialogs::JoinFailedAnswer;
    const Answer answer = m_state.ishost ? (m_dialogs.askRetry(text) ? Answer::Retry : Answer::Quit)
                                         : m_dialogs.askRetryChangeOrQuit(text);
    if (answer == Answer::Retry)
        connectToHost();
    else if (answer == Answer::ChangeAddress)
        emit changeAddressChosen(m_address, m_port);
    else
        emit ended();
}

void TableConnection::openLobby()
{
    try {
        m_sock11->Open();
    } catch (const morlu::ESockException& error) {
        qWarning("Morlu: no connection to the lobby program: %s", error.what());
    }
}

void TableConnection::sendline(std::string_view line)
{
    // While the connection is being made again, what the player asks is dropped: the player is told once.
    if (m_replaying)
        return;
    if (m_offline) {
        if (m_reconnecting)
            tellDropped();
        return;
    }
    try {
        m_link->sendline(line);
    } catch (const morlu::ESockException& error) {
        m_dialogs.showMessage(QString::fromLatin1(error.what()));
        return;
    }
    emit lineSent(QByteArray(line.data(), qsizetype(line.size())));
}

bool TableConnection::sendRequest(std::string_view line)
{
    if (m_replaying)
        return false;
    // A new connection is not yet a seat: until the host has seated the table, the host drops a move from
    // it, and the table's own model may still name the turn or the choice it knew before the loss.
    if (m_offline || m_unseated) {
        if (!m_ending)
            tellDropped();
        return false;
    }
    sendline(line);
    return true;
}

void TableConnection::tellDropped()
{
    if (m_toldDropped)
        return;
    m_toldDropped = true;
    emit notice(QStringLiteral("Not sent while reconnecting to the host."));
}
