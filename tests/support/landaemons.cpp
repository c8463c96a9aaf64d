#include "landaemons.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace morlu::test {

namespace {

QString script()
{
    return QStringLiteral(MORLU_SOURCE_DIR "/tools/lan-daemons.sh");
}

/** What this test program started, stopped at its end. */
struct Started {
    QTemporaryDir state;
    QString failure;

    Started()
    {
        QProcess start;
        start.start(script(), {QStringLiteral("start"), state.path()});
        if (!start.waitForFinished(30000) || start.exitStatus() != QProcess::NormalExit || start.exitCode() != 0) {
            failure = QString::fromLocal8Bit(start.readAllStandardError()).trimmed();
            if (failure.isEmpty())
                failure = QStringLiteral("tools/lan-daemons.sh did not start the daemons");
        }
    }
    // Runs after the application object has gone: a plain shell call.
    ~Started()
    {
        const QByteArray stop = "'" + script().toLocal8Bit() + "' stop '" + state.path().toLocal8Bit() + "'";
        [[maybe_unused]] const int status = std::system(stop.constData());
    }
};

} // namespace

QString ensureLanDaemons()
{
    static const std::unique_ptr<Started> started = std::make_unique<Started>();
    return started->failure;
}

bool lanDaemonsRequired()
{
    return qEnvironmentVariable("MORLU_REQUIRE_AVAHI") == QLatin1String("1");
}

} // namespace morlu::test
