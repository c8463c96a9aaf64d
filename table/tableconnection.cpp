#include "tableconnection.h"

#include "commands.h"
#include "esockexception.h"
#include "tabledialogs.h"
#include "tablelink.h"
#include "tablestate.h"
#include "tsock.h"

TableConnection::TableConnection(TableState& state, TableDialogs& dialogs, QObject* parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_link(new TableLink(this)), m_sock11(new morlu::TSock(this))
{
    // A socket handler that throws is logged and the table goes on, as with a malformed line.
    morlu::TSock::setUncaughtErrorHandler(
        [](const QString& text) { qWarning("Morlu: socket handler failed: %s", qPrintable(text)); });
    connect(m_link, &TableLink::closed, this, &TableConnection::ended);
    m_sock11->setObjectName(QStringLiteral("Sock11"));
    m_sock11->setHostName(QStringLiteral("127.0.0.1"));
    m_sock11->setPortName(QStringLiteral("9001"));
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
        m_hostStarter ? m_hostStarter(port, reach) : HostStarted{0, QStringLiteral("This program has no host")};
    if (!host.ok()) {
        m_dialogs.showMessage(host.error);
        return false;
    }
    m_state.ishost = true;
    try {
        // Always the own machine, whatever hostaddress says; the bound port also covers "--port 0".
        m_link->open(QStringLiteral("127.0.0.1"), QString::number(host.port));
    } catch (const morlu::ESockException& error) {
        m_dialogs.showMessage(QString::fromLatin1(error.what()));
    }
    return true;
}

void TableConnection::join(const QString& address, const QString& port)
{
    try {
        m_link->open(address, port);
    } catch (const morlu::ESockException& error) {
        m_dialogs.showMessage(QString::fromLatin1(error.what()));
    }
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
