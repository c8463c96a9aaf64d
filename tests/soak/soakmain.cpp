// morlu_soak: nine scripted tables against `morlu --server` for SOAK_MINUTES (default 10) or
// --minutes M; `make soak` runs it. --flood-check measures a chat round trip while another table
// floods the host, and the host's memory around a flood; --host-player-check measures the host player's
// program under a chat flood alternating colours. The program build/morlu is found beside this one.

#include "floodcheck.h"
#include "soakrun.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    double minutes =
        qEnvironmentVariableIsEmpty("SOAK_MINUTES") ? 10.0 : qEnvironmentVariable("SOAK_MINUTES").toDouble();
    std::uint32_t seed = 20261208;
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("--flood-check")})
        return morlu::test::FloodCheck().run();
    if (args == QStringList{QStringLiteral("--host-player-check")})
        return morlu::test::FloodCheck().runHostPlayer();
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--minutes"))
            minutes = args.at(i + 1).toDouble();
        else if (args.at(i) == QLatin1String("--seed"))
            seed = args.at(i + 1).toUInt();
    }
    if (minutes <= 0) {
        std::fprintf(
            stderr,
            "usage: morlu_soak [--minutes M] [--seed N]   (or SOAK_MINUTES=M)\n       morlu_soak --flood-check\n"
            "       morlu_soak --host-player-check\n");
        return 2;
    }
    return morlu::test::SoakRun(minutes, seed).run();
}
