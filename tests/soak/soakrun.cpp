#include "soakrun.h"

#include "waituntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cstdio>

namespace morlu::test {

namespace {

constexpr int kStepMs = 50;
/// Longest wait for the last game to reach its winner once the run turns calm.
constexpr int kCalmEndMs = 60000;

} // namespace

SoakRun::SoakRun(double minutes, std::uint32_t seed) : m_minutes(minutes), m_seed(seed)
{
    m_stepper.setInterval(kStepMs);
    connect(&m_stepper, &QTimer::timeout, this, &SoakRun::step);
    m_sampler.setInterval(1000);
    connect(&m_sampler, &QTimer::timeout, this, &SoakRun::sample);
}

qint64 SoakRun::hostMemory()
{
    return m_server.residentKb();
}

void SoakRun::step()
{
    for (const auto& table : m_tables)
        table->step(m_calm);
}

void SoakRun::sample()
{
    m_memoryPeak = std::max(m_memoryPeak, hostMemory());
}

int SoakRun::run()
{
    m_server.start(
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--pause-tick-ms"), QStringLiteral("0")});
    const quint16 port = m_server.waitListening();
    if (port == 0) {
        std::fprintf(stderr, "soak: the host did not start: %s\n", m_server.standardError().constData());
        return 1;
    }
    using Part = SoakTable::Part;
    // The host player's table comes first, so it gets slot 1; the others follow in their order.
    std::uint32_t seed = m_seed;
    m_tables.push_back(std::make_unique<SoakTable>(Part::HostPlayer, port, seed++, m_findings));
    if (!waitUntil([&] { return m_tables.front()->slot() == 1; })) {
        std::fprintf(stderr, "soak: the host player's table was not seated in slot 1\n");
        return 1;
    }
    for (Part part : {Part::Player, Part::Watcher, Part::Leaver, Part::Chatter, Part::Garbage, Part::Flooder,
                      Part::Silent, Part::Spectator}) {
        m_tables.push_back(std::make_unique<SoakTable>(part, port, seed++, m_findings));
        waitUntil([] { return false; }, 50);
    }
    m_stepper.start();
    m_sampler.start();
    waitUntil([] { return false; }, 2000);
    m_memoryStart = hostMemory();

    const int runMs = int(m_minutes * 60000);
    waitUntil([] { return false; }, std::max(0, runMs - 2000));
    // The calm end: no new game, no floods; the last game finishes and the host settles.
    m_calm = true;
    waitUntil([&] { return m_findings.gamesFinished >= m_findings.gamesStarted; }, kCalmEndMs);
    waitUntil([] { return false; }, 3000);
    m_memoryEnd = hostMemory();
    m_stepper.stop();
    m_sampler.stop();
    return report();
}

int SoakRun::report()
{
    const SoakTable::Findings& f = m_findings;
    const bool running = m_server.process().state() == QProcess::Running;
    std::printf("soak: nine tables for %.1f min against morlu --server --pause-tick-ms 0\n", m_minutes);
    std::printf("games finished: %d (started %d), score lines checked: %d\n", f.gamesFinished, f.gamesStarted,
                f.scoreLines);
    std::printf("host memory: start %lld kB, peak %lld kB, end %lld kB\n", static_cast<long long>(m_memoryStart),
                static_cast<long long>(m_memoryPeak), static_cast<long long>(m_memoryEnd));
    std::printf("longest chat round trip of a well-behaved table: %lld ms (%d round trips)\n",
                static_cast<long long>(f.longestRoundTrip), f.roundTrips);
    std::printf("reconnections (leaving, removed, closed for flooding or silence): %d\n", f.reconnects);

    QStringList failures;
    if (f.unbalancedScores > 0)
        failures << QStringLiteral("%1 score lines whose banks do not add up to 40000").arg(f.unbalancedScores);
    if (f.gamesFinished == 0)
        failures << QStringLiteral("no game finished");
    if (f.gamesFinished < f.gamesStarted)
        failures << QStringLiteral("a game did not reach its winner");
    if (f.wellBehavedDropped > 0)
        failures << QStringLiteral("%1 closes of well-behaved tables").arg(f.wellBehavedDropped);
    if (f.overlongLines > 0)
        failures << QStringLiteral("%1 over-long lines").arg(f.overlongLines);
    if (f.roundTrips == 0)
        failures << QStringLiteral("no chat came back");
    if (!running)
        failures << QStringLiteral("the host ended: %1").arg(QString::fromLocal8Bit(m_server.standardError()));
    if (running && !m_server.terminate())
        failures << QStringLiteral("the host did not stop on SIGTERM");
    for (const QString& failure : failures)
        std::printf("soak: FAILED: %s\n", failure.toLocal8Bit().constData());
    std::printf("%d passed, %d failed\n", failures.isEmpty() ? 1 : 0, failures.isEmpty() ? 0 : 1);
    std::fflush(stdout);
    return failures.isEmpty() ? 0 : 1;
}

} // namespace morlu::test
