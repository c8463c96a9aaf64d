#pragma once

#include "gameaddress.h"
#include "lanaddresses.h"
#include "thostgame.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ChatSink;
class FriendsLine;
class TableDialogs;
class Tjoingame;
class TableModel;
struct TableState;

namespace morlu {
class GameFinder;
} // namespace morlu

/**
 * Playing together from the window: File > Host Game... and File > Join Game..., the dialogs behind
 * them, and what the table shows once it hosts ("Tell your friends" and the same addresses in the chat).
 *
 * A choice starts the chosen game exactly as the command line "NAME ADDRESS true|false [--port N]"
 * would: the program starts again with those arguments (through the Restarter, a seam tests replace)
 * and this table leaves (leaving()). In a running game the player is asked first. The name and the
 * recent hosts are kept in the settings file as they are chosen.
 *
 * It also takes over two failures: a join that failed and where the player chose "Change Address"
 * (the Join dialog again, with the address tried), and a host port in use (the Host dialog again with
 * the port field selected). Such a table has no host at all: a dialog cancelled from then on starts the
 * program again on a solo game, where Host Game and Join Game are offered anew, rather than leave a
 * window that waits for nothing.
 */
class PlayTogether : public QObject {
    Q_OBJECT

public:
    /** Starts the program anew with @p arguments (the program's own path, a separate process). */
    using Restarter = std::function<void(const QStringList& arguments)>;

    /**
     * @p window: the table window the dialogs stand on; @p friends: the "Tell your friends" line;
     * @p settingsPath: where the name and the recent hosts are kept (followed as it changes).
     */
    PlayTogether(QWidget& window, TableState& state, const TableModel& model, TableDialogs& dialogs, ChatSink& chat,
                 FriendsLine& friends, std::function<QString()> settingsPath, QObject* parent = nullptr);

    /** The arguments that host @p choice. */
    static QStringList hostArguments(const HostChoice& choice);
    /** The arguments that join @p address as @p name. */
    static QStringList joinArguments(const QString& name, const GameAddress& address);

    void setRestarter(Restarter restarter) { m_restarter = std::move(restarter); }
    /** Whether the table replays a record: it then leaves no game when it hosts or joins one. */
    void setReplaying(std::function<bool()> replaying) { m_replaying = std::move(replaying); }
    void setGameFinder(morlu::GameFinder* finder);
    /** Where hostingStarted() learns this machine's interfaces (the system's unless a test says otherwise). */
    void setInterfaces(std::function<QList<lanaddresses::InterfaceAddress>()> interfaces)
    {
        m_interfaces = std::move(interfaces);
    }

    /** File > Host Game... (Ctrl+H). */
    void HostGame1Click();
    /** File > Join Game... (Ctrl+J). */
    void JoinGame1Click();
    /** The host at @p address, @p port answered this table's join: it heads the recent hosts. */
    void rememberHost(const QString& address, const QString& port);
    /** After a failed join: the Join dialog again, holding @p address and @p port. */
    void changeAddress(const QString& address, const QString& port);
    /** The program's host could not listen on @p port, held by another program: Host Game again. */
    void offerAnotherPort(const QString& port);
    /** This table now hosts a multi-player game on @p port: tell the player the addresses to give out. */
    void hostingStarted(quint16 port);
    /** An address from elsewhere (the router's public one) a friend can type too. */
    void addReachableAddress(const QString& address);

    Tjoingame& joinDialog() { return *m_join; }
    Thostgame& hostDialog() { return *m_host; }

signals:
    /** The chosen game has been started: this table closes without asking again. */
    void leaving();

private:
    void joinChosen(const QString& name, const GameAddress& address);
    void hostChosen(const HostChoice& choice);
    /// True when nothing runs, or the player agreed to leave the running game for @p what.
    bool mayLeave(const QString& what);
    /// The Join dialog with the kept name and recent hosts, and @p address in its field when given.
    void showJoin(const std::optional<QString>& address);
    void restart(const QStringList& arguments);
    QString keptName() const;
    /// A Host or Join dialog closed without a choice: a table without a host starts again on a solo game.
    void dialogCancelled();

    QWidget& m_window;
    TableState& m_state;
    const TableModel& m_model;
    TableDialogs& m_dialogs;
    ChatSink& m_chat;
    FriendsLine& m_friends;
    std::function<QString()> m_settingsPath;
    Restarter m_restarter;
    std::function<bool()> m_replaying;
    std::function<QList<lanaddresses::InterfaceAddress>()> m_interfaces = lanaddresses::systemInterfaces;
    Tjoingame* m_join = nullptr;
    Thostgame* m_host = nullptr;
    /// The table's own host or join failed: it has no host and never will.
    bool m_stranded = false;
};
