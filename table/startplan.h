#pragma once

#include <QString>
#include <QStringList>

/**
 * What the table does with its command line (the arguments left after the "--" options): play alone,
 * host or join a multi-player game, or only wait.
 *
 * - no arguments: a solo game, hosted here, the player named "You";
 * - one or two arguments: a multi-player start that stays unconnected;
 * - three or more: the player's name, the host's address, and "true" (exactly, case-sensitive) to host
 *   or anything else to join; the rest is ignored. A multi-player start with three arguments also opens
 *   the connection to the lobby program on 127.0.0.1 port 9001.
 */
struct StartPlan {
    enum class Mode { Solo, Waiting, Host, Join };

    Mode mode = Mode::Solo;
    /// The player's name; empty while waiting.
    QString myname;
    /// Where the host is; "127.0.0.1" for a solo game, empty while waiting.
    QString hostaddress;
    /// Open the held connection to the lobby program on 127.0.0.1 port 9001.
    bool openLobby = false;

    /// The system line shown at once ("0+Loading Solo Game..Please wait." or the multi-player one).
    QString loadingLine() const;

    static StartPlan fromArguments(const QStringList& arguments);
};
