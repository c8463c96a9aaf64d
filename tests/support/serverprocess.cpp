#include "serverprocess.h"

#include "testtable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace morlu::test {

ServerProcess::~ServerProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

qint64 ServerProcess::residentKb() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

QString ServerProcess::program()
{
    const QString dir = qEnvironmentVariableIsEmpty("MORLU_BUILD_DIR") ? QCoreApplication::applicationDirPath()
                                                                       : qEnvironmentVariable("MORLU_BUILD_DIR");
    return QDir(dir).filePath(QStringLiteral("morlu"));
}

void ServerProcess::start(const QStringList& options)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    m_process.setProcessEnvironment(environment);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { collect(); });
    QObject::connect(&m_process, &QProcess::readyReadStandardError, [this] { collect(); });
    m_process.start(program(), QStringList{QStringLiteral("--server")} + options);
}

void ServerProcess::collect()
{
    m_out += m_process.readAllStandardOutput();
    m_err += m_process.readAllStandardError();
}

quint16 ServerProcess::waitListening(int milliseconds)
{
    static const QRegularExpression listening(QStringLiteral("^Listening on port (\\d+)\\n"));
    QRegularExpressionMatch match;
    waitUntil(
        [&] {
            match = listening.match(QString::fromLatin1(m_out));
            return match.hasMatch() || m_process.state() == QProcess::NotRunning;
        },
        milliseconds);
    return match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
}

bool ServerProcess::terminate(int milliseconds)
{
    m_process.terminate();
    return waitFinished(milliseconds);
}

bool ServerProcess::waitFinished(int milliseconds)
{
    const bool ended = waitUntil([&] { return m_process.state() == QProcess::NotRunning; }, milliseconds);
    collect();
    return ended;
}

} // namespace morlu::test
