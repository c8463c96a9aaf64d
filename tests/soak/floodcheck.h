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
 * Prints the figures; fails only when the host ends or a table gets nothing back.
 */
class FloodCheck {
public:
    int run();

private:
    qint64 hostMemory();
    bool roundTripUnderFlood(quint16 port);
    bool memoryAfterFlood(quint16 port, int tables, int lines);

    ServerProcess m_server;
};

} // namespace morlu::test
