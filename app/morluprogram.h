#pragma once

#include "launchoptions.h"

#include <memory>

class Tchat;

namespace morlu {

class GameFinder;
class LanHosting;
class TServer;

/**
 * The program's composition: it creates the windows in their fixed order, the table window first and
 * then the host form, so every instance carries an idle host, and wires the one thing the table may
 * ask of the host: "start listening on this port, tell me the bound port or the error". The table and
 * the host meet nowhere else; once listening, the table reaches its host over a connection like any
 * other table.
 *
 * The launch options apply here: the port the table hosts or joins on, and the host's --seed and
 * --pause-tick-ms.
 *
 * Beyond the machine: the table gets the finder of games on the local network; a table that hosts a
 * multi-player game is announced as "NAME's game" (unless --no-announce) and, with --upnp, has its
 * port opened on the router, the outcome shown in its chat. Both end with the program.
 */
class MorluProgram {
public:
    explicit MorluProgram(const LaunchOptions& options);
    ~MorluProgram();
    MorluProgram(const MorluProgram&) = delete;
    MorluProgram& operator=(const MorluProgram&) = delete;

    Tchat& table() { return *m_table; }
    TServer& server() { return *m_server; }
    /// The announcement and router port of the game the table hosts; null until it hosts for everyone.
    LanHosting* lanHosting() const { return m_lan.get(); }

private:
    void startLanHosting(quint16 port);

    LaunchOptions m_options;
    std::unique_ptr<Tchat> m_table;
    std::unique_ptr<TServer> m_server;
    std::unique_ptr<GameFinder> m_finder;
    std::unique_ptr<LanHosting> m_lan;
};

} // namespace morlu
