#include "hoststarter.h"

HostStarter withSoloPortFallback(HostStarter starter)
{
    return [starter = std::move(starter)](const QString& port, HostReach reach) {
        const HostStarted first = starter(port, reach);
        if (first.ok() || !first.portInUse || reach != HostReach::ThisMachine)
            return first;
        qInfo("Morlu: port %s is in use; the solo game listens on a free port", qPrintable(port));
        return starter(QStringLiteral("0"), reach);
    };
}
