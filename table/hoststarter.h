#pragma once

#include <QString>

#include <functional>

/// Who may reach the host: a solo game is private to this machine, a multi-player game is open to all.
enum class HostReach { ThisMachine, Everyone };

/**
 * How a table that hosts starts the host of its own program. The table never sees the host itself: the
 * program's composition hands it this one function, which starts listening on a port ("7772", or "0"
 * for any free port) on the loopback address only (HostReach::ThisMachine) or on every address, and
 * tells the bound port or why it could not.
 */
struct HostStarted {
    quint16 port = 0;       ///< the port the host now listens on; 0 on failure
    QString error;          ///< empty, or the reason ("Listen - Error Binding Socket")
    bool portInUse = false; ///< the failure is a port that another program (another game?) holds

    bool ok() const { return error.isEmpty(); }
};

using HostStarter = std::function<HostStarted(const QString& port, HostReach reach)>;

/**
 * @p starter, except that a game private to this machine (a solo game) whose port another program holds
 * listens on any free port instead: a solo game needs no fixed port, since only its own table connects.
 * A multi-player host keeps its port (friends are told it) and reports the port in use as before.
 */
HostStarter withSoloPortFallback(HostStarter starter);
