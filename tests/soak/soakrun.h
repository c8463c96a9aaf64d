#pragma once

#include "serverprocess.h"
#include "soaktable.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

namespace morlu::test {

/**
 * A soak run: `morlu --server --pause-tick-ms 0` as a child process and nine scripted tables playing
 * their parts against it (see SoakTable) for a given time, then a calm end in which the last game
 * finishes and the floods have stopped. It prints the games finished, the host's memory at the start,
 * its peak and at the end, and the longest chat round trip of the host player's table, and fails when
 * a game's banks stop adding up, no game finished, a game did not reach its winner, a well-behaved
 * table was dropped or got an over-long line, or the host ended.
 */
class SoakRun : public QObject {
    Q_OBJECT

public:
    /// A run of @p minutes; @p seed drives the tables' choices.
    SoakRun(double minutes, std::uint32_t seed);

    /// Runs to the end; the process exit code (0: passed).
    int run();

private:
    void step();
    void sample();
    /// The host's resident memory in kB (VmRSS of the child), 0 when unknown.
    qint64 hostMemory();
    int report();

    double m_minutes;
    std::uint32_t m_seed;
    ServerProcess m_server;
    SoakTable::Findings m_findings;
    std::vector<std::unique_ptr<SoakTable>> m_tables;
    QTimer m_stepper;
    QTimer m_sampler;
    bool m_calm = false;
    qint64 m_memoryStart = 0;
    qint64 m_memoryPeak = 0;
    qint64 m_memoryEnd = 0;
};

} // namespace morlu::test
