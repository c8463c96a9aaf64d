#pragma once

#include "serverprocess.h"

#include <QtGlobal>

namespace morlu::test {

/**
 * Two measurements of `morlu --server` under a flood (morlu_soak --flood-check):
 * - the chat round trip of a well-behaved table while another table keeps the host's queue full of
 *   requests (fair dispatch keeps it to a tick or two);
 * - the host's resident memory before, during and after a flood: four tables each sending 1000 lines
 *   of 64 KB (closed as floods), and eight tables each queueing 60 lines of 64 KB, within the limits;
 *   the memory must come back down once they have left.
 * Prints the figures and judges them: it fails when the longest round trip reaches kRoundTripLimitMs,
 * when the host's memory after the floods is more than kMemoryMarginPercent above what it was before
 * them, when the host ends or when a table gets nothing back.
 */
class FloodCheck {
public:
    static constexpr int kRoundTripLimitMs = 100;
    static constexpr int kMemoryMarginPercent = 10;

    int run();

private:
    qint64 hostMemory();
    bool roundTripUnderFlood(quint16 port);
    bool memoryAfterFlood(quint16 port, int tables, int lines);
    static bool memoryCameBack(qint64 start, qint64 after);

    ServerProcess m_server;
};

} // namespace morlu::test
