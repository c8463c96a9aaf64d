#include "hoststarter.h"

#include "printers.h"

#include <gtest/gtest.h>

namespace {

// A solo game whose port another program holds listens on a free port instead; a multi-player host
// and any other failure report as before.
TEST(HostStarter, ASoloGameFallsBackToAFreePortOnlyWhenItsPortIsTaken)
{
    struct Row {
        const char* name;
        HostReach reach;
        bool taken;     ///< 7772 is held by another program
        bool otherFail; ///< the socket cannot be made at all
        QStringList tried;
        quint16 bound; ///< 0: failed
    };
    const Row rows[] = {
        {"solo, port free", HostReach::ThisMachine, false, false, {QStringLiteral("7772")}, 7772},
        {"solo, port taken", HostReach::ThisMachine, true, false, {QStringLiteral("7772"), QStringLiteral("0")}, 40001},
        {"solo, no socket", HostReach::ThisMachine, false, true, {QStringLiteral("7772")}, 0},
        {"multi, port taken", HostReach::Everyone, true, false, {QStringLiteral("7772")}, 0},
    };
    for (const Row& row : rows) {
        QStringList tried;
        const HostStarter starter = withSoloPortFallback([&](const QString& port, HostReach) {
            tried << port;
            if (row.otherFail)
                return HostStarted{0, QStringLiteral("Listen - Error Creating Socket"), false};
            if (port == QLatin1String("7772"))
                return row.taken ? HostStarted{0, QStringLiteral("Listen - Error Binding Socket"), true}
                                 : HostStarted{7772, QString()};
            return HostStarted{40001, QString()};
        });
        const HostStarted started = starter(QStringLiteral("7772"), row.reach);
        EXPECT_EQ(tried, row.tried) << row.name;
        EXPECT_EQ(started.port, row.bound) << row.name;
        EXPECT_EQ(started.ok(), row.bound != 0) << row.name;
    }
}

} // namespace
