#include "singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 1000;
/// How long a second program tries to reach a first one that holds the lock but does not listen yet.
constexpr int kReachMs = 3000;
const QByteArray kRaise = QByteArrayLiteral("raise\n");

/// True when @p path is a real folder (no link) of this user that nobody else may write in.
bool ownedPrivately(const QString& path)
{
    struct stat info = {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (ownedPrivately(runtime))
        return runtime;
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("morlu-%1").arg(::geteuid()));
    // mkdir fails when the name is taken; whatever holds it is then checked like a folder found there.
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return ownedPrivately(own) ? own : QString();
}

bool SingleInstance::claim()
{
    const QString folder = privateFolder();
    if (folder.isEmpty()) {
        qWarning("Morlu: no private folder for the single-instance guard; a second start opens a second window");
        return true;
    }
    const QString path = QDir(folder).filePath(m_name);
    m_lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // Held for the program's life: only the process it names can make it stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        askFirstForward(path);
        return false;
    }

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket file of that name is left from a program that ended without cleaning up.
    QLocalServer::removeServer(path);
    if (!m_server->listen(path))
        qWarning("Morlu: cannot watch for a second start (%s)", qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::askFirstForward(const QString& path)
{
    // The first program may hold the lock and not listen yet: it is starting at this very moment.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kReachMs) {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(kWaitMs)) {
            probe.write(kRaise);
            probe.waitForBytesWritten(kWaitMs);
            probe.disconnectFromServer();
            return;
        }
        QThread::msleep(50);
    }
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
