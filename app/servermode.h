#pragma once

namespace morlu {

/**
 * The dedicated host: `morlu --server [--port N] [--name TEXT] [--no-announce] [--upnp] [--seed N]
 * [--pause-tick-ms N] [--computer LEVEL]` (see LaunchOptions).
 * Runs a TServer alone on a QCoreApplication (no window, no display), prints "Listening on port N"
 * with the bound port on stdout, logs to stderr and runs until SIGINT or SIGTERM. The computer also
 * takes over seat 1 when its table leaves, since no host player sits there.
 *
 * Unless --no-announce, the game is announced on the local network under --name (default "Morlu on
 * HOST"); with --upnp its port is opened on the router and "Reachable from the internet at ADDRESS:PORT",
 * or why not, goes to stdout. Both are withdrawn when the host ends.
 *
 * Returns the exit status: 0 after a signal, 1 when the port cannot be bound (the reason, e.g.
 * "Listen - Error Binding Socket", on stderr), 2 for a bad command line (usage on stderr). Call it
 * before any QCoreApplication exists.
 */
int runServer(int argc, char** argv);

} // namespace morlu
