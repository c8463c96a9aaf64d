#include "singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

constexpr int kWaitMs = 1000;
const QByteArray kRaise = QByteArrayLiteral("raise\n");

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(kWaitMs)) {
        probe.write(kRaise);
        probe.waitForBytesWritten(kWaitMs);
        probe.disconnectFromServer();
        return false;
    }

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered, so a file of that name is left from a program that ended without cleaning up.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            qWarning("Morlu: cannot watch for a second start (%s)", qPrintable(m_server->errorString()));
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

QString SingleInstance::serverPath() const
{
    return m_server != nullptr && m_server->isListening() ? m_server->fullServerName() : QString();
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto handle = [this, socket] {
            if (socket->readAll().contains(kRaise.trimmed())) {
                bringForward();
                emit activationRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, handle);
        // The request may have arrived together with the connection.
        if (socket->bytesAvailable() > 0)
            handle();
    }
}

void SingleInstance::bringForward()
{
    if (m_window.isNull())
        return;
    if (m_window->isMinimized())
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
