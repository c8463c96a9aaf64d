#pragma once

#include "scriptedplayer.h"
#include "testtable.h"

#include <QElapsedTimer>

#include <memory>
#include <random>
#include <string>

namespace morlu::test {

/**
 * One of the soak run's nine tables, playing one part: the host player (slot 1, starts the games,
 * removes spectators now and then and measures its chat round trip), well-behaved players, a player
 * that leaves (in order or with a reset) and comes back, a chatterer, a table sending garbage, one
 * flooding the host, one that never logs in, and a spectator. Each acts on step(), called a few times
 * a second, and reconnects a moment after its connection has ended.
 */
class SoakTable {
public:
    enum class Part { HostPlayer, Player, Watcher, Leaver, Chatter, Garbage, Flooder, Silent, Spectator };

    /// What the run learns from the tables; filled by the host player's table unless noted.
    struct Findings {
        int gamesStarted = 0;
        int gamesFinished = 0;
        int scoreLines = 0;
        int unbalancedScores = 0; ///< CMD_scores whose banks do not add up to 40000
        qint64 longestRoundTrip = 0;
        int roundTrips = 0;
        int overlongLines = 0;      ///< lines over the limit at well-behaved tables
        int wellBehavedDropped = 0; ///< closes of well-behaved tables by the host
        int reconnects = 0;         ///< all tables
    };

    SoakTable(Part part, quint16 port, std::uint32_t seed, Findings& findings);

    /// One step of the table's part; @p calm stops floods and garbage (the end of the run).
    void step(bool calm);
    Part part() const { return m_part; }
    /// The slot of the current connection (0 before the host gave one).
    int slot() const { return m_table ? m_table->slot() : 0; }
    bool wellBehaved() const;

private:
    void connect();
    void hear(std::string_view line);
    void hostPlayer(std::string_view line);
    void act(bool calm);
    std::string slotText() const { return std::to_string(m_table ? m_table->slot() : 0); }
    std::string randomText(std::size_t length);

    Part m_part;
    quint16 m_port;
    Findings& m_findings;
    std::mt19937 m_random;
    std::unique_ptr<TestTable> m_table;
    std::unique_ptr<ScriptedPlayer> m_player;
    bool m_loggedIn = false;
    int m_steps = 0;
    int m_reconnectAt = 0;
    bool m_gameRunning = false;
    int m_ping = 0;
    QElapsedTimer m_pingSent;
    std::string m_pingLine;
    bool m_watching = false;
};

} // namespace morlu::test
