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
 *
 * And one measurement of the host player's program (`morlu NAME 127.0.0.1 true --port N`, offscreen),
 * whose table and host share one thread (runHostPlayer(), run by --host-player-check): a
 * second table's chat round trip while a third sends kColourFloodLines chat lines alternating their
 * colour, the relay rate of those lines and the program's memory. It fails when the round trip misses
 * kRoundTripTargetMs (95th percentile), the relays fall below kMinRelayRate lines a second, or the
 * memory grows by more than kMaxGrowthKb over the second half of the flood.
 */
class FloodCheck {
public:
    static constexpr int kRoundTripLimitMs = 100;
    static constexpr int kMemoryMarginPercent = 10;
    static constexpr int kColourFloodLines = 20000;
    static constexpr qint64 kRoundTripTargetMs = 100;
    static constexpr double kMinRelayRate = 40.0;
    static constexpr qint64 kMaxGrowthKb = 8 * 1024;

    int run();
    int runHostPlayer();

private:
    qint64 hostMemory();
    bool roundTripUnderFlood(quint16 port);
    bool memoryAfterFlood(quint16 port, int tables, int lines);
    static bool memoryCameBack(qint64 start, qint64 after);
    bool hostPlayerUnderColourFlood();

    ServerProcess m_server;
};

} // namespace morlu::test
