#pragma once

#include "launchoptions.h"

#include <memory>

class Tchat;

namespace morlu {

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
 */
class MorluProgram {
public:
    explicit MorluProgram(const LaunchOptions& options);
    ~MorluProgram();
    MorluProgram(const MorluProgram&) = delete;
    MorluProgram& operator=(const MorluProgram&) = delete;

    Tchat& table() { return *m_table; }
    TServer& server() { return *m_server; }

private:
    std::unique_ptr<Tchat> m_table;
    std::unique_ptr<TServer> m_server;
};

} // namespace morlu
