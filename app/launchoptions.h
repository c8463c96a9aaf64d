#pragma once

#include "computerlevel.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace morlu {

/**
 * The program's options that start with "--", taken out of the command line before anything else
 * reads it; what is left (the table's name, host address and host-or-join flag) stays in arguments,
 * in order.
 *
 * - `--server`: run the host alone, without a window (see runServer()).
 * - `--port N`: the port to listen on (0..65535; 0 lets the system choose); also the port a table
 *   hosts or joins on.
 * - `--seed N`: deal with the game's own 32-bit generator from this seed (0..4294967295), so games repeat;
 *   without it deals come from the system's secure random source.
 * - `--pause-tick-ms N`: tick of the pause timer in milliseconds (default 1000; 0 ends a pause on the
 *   next event-loop turn).
 * - `--computer classic|expert|master`: how the computer plays every seat it plays (default classic).
 * - `--name TEXT`: the name a dedicated host announces on the local network (at most 63 bytes).
 * - `--no-announce`: a host (dedicated, or a table hosting a multi-player game) does not announce itself.
 * - `--upnp`: a host opens its port on the router while it hosts.
 * - `--replay FILE`: show the game record FILE on the table instead of playing (no host, no connection).
 * - `--help`, `--version`: print the usage or the version and end (see wantsHelp(), wantsVersion()).
 *
 * Values may follow as the next argument or after "=" (`--port=7000`).
 */
struct LaunchOptions {
    bool server = false;
    bool help = false;
    bool version = false;
    std::optional<int> port;
    std::optional<std::uint32_t> seed;
    std::optional<int> pauseTickMs;
    std::optional<ComputerLevel> computer;
    std::optional<QString> name;
    std::optional<QString> replay;
    bool announce = true;
    bool upnp = false;
    /// Arguments that are not options, in order.
    QStringList arguments;
    /// Empty, or what was wrong (an unknown option, a missing or bad value).
    QString error;

    /// Reads @p args (without the program name).
    static LaunchOptions parse(const QStringList& args);
    /// True when "--server" is among @p argv[1..]; needs no Qt application object.
    static bool wantsServer(int argc, char** argv);
    /// True when "--help" or "--version" is among @p argv[1..], whatever else is there (the program
    /// answers before it opens a window or checks the other options).
    static bool wantsHelp(int argc, char** argv);
    static bool wantsVersion(int argc, char** argv);
    /// The usage text of the table and the server mode, one line per option: the manual page lists
    /// the same options.
    static QString usage();
    /// "morlu 1.0.5".
    static QString versionText();
};

} // namespace morlu
