#include "tableconnection.h"

#include "commands.h"
#include "esockexception.h"
#include "tabledialogs.h"
#include "tablelink.h"
#include "tablestate.h"
#include "tsock.h"

#include <QMetaObject>

TableConnection::TableConnection(TableState& state, TableDialogs& dialogs, QObject* parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_link(new TableLink(this)), m_sock11(new morlu::TSock(this))
{
    // A socket handler that throws is logged and the table goes on, as with a malformed line.
    morlu::TSock::setUncaughtErrorHandler(
        [](const QString& text) { qWarning("Morlu: socket handler failed: %s", qPrintable(text)); });
    connect(m_link, &TableLink::closed, this, &TableConnection::ended);
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
        m_dialogs.showMessage(QStringLiteral("Game is full"));
        emit ended();
    });
}

bool TableConnection::host(const QString& port, HostReach reach)
{
    const HostStarted host =
        m_hostStarter ? m_hostStarter(port, reach) : HostStarted{0, QStringLiteral("This program has no host"), false};
    if (!host.ok()) {
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
    const QString text = QStringLiteral("Could not connect to %1 port %2: %3").arg(m_address, m_port, reason);
    if (m_dialogs.askRetry(text))
        connectToHost();
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
    try {
        m_link->sendline(line);
    } catch (const morlu::ESockException& error) {
        m_dialogs.showMessage(QString::fromLatin1(error.what()));
        return;
    }
    emit lineSent(QByteArray(line.data(), qsizetype(line.size())));
}
