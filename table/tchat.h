#pragma once

#include "hoststarter.h"
#include "tableservices.h"
#include "tablestate.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string_view>

class Board;
class ChatView;
class GameDisplay;
class QAction;
class TableLink;
class TableSession;
class Tgamestart;

namespace morlu {
class TSock;
} // namespace morlu

/**
 * The table: the program's main window. It reads the command line when first shown, hosts (starting
 * the host form's listening socket) or joins, logs in, and hands every line from the host to the
 * operation that shows it: the board's game display, the arrivals and departures, or the chat. It
 * closes, and the program ends, when its connection to the host closes.
 *
 * The table never holds the host: when it hosts, it asks the program's host to listen through the
 * HostStarter the program gave it, then connects to it like any other table. It serves the board
 * through TableServices: chat lines, sounds, requests to the host, message boxes and the game length
 * chooser.
 */
class Tchat : public QMainWindow, public TableServices {
    Q_OBJECT

public:
    /** The settings section and the first part of the tally file name. */
    static constexpr const char* kGameName = "Morlu";
    static constexpr int kDefaultWidth = 789;
    static constexpr int kDefaultHeight = 595;

    /**
     * @p arguments: the command line with its "--" options taken out, which processparams reads;
     * @p port: the port this table hosts or joins on.
     */
    explicit Tchat(const QStringList& arguments, const QString& port = QStringLiteral("7772"),
                   QWidget* parent = nullptr);
    /** A table started without arguments (a solo game on port 7772). */
    explicit Tchat(QWidget* parent = nullptr);
    ~Tchat() override;

    // TableServices.
    void addlinetochat(const QString& line, std::uint32_t colour) override;
    /** Asks for a game-event sound; the sound player listens to soundRequested. */
    void playsounds(const QString& name) override;
    void addgame(const QString& winner) override;
    void sendline(std::string_view line) override;
    void setJustWatchChecked(bool checked) override { m_justWatchChecked = checked; }
    void showGameStart() override;
    void showMessage(const QString& text) override;
    int chosenturnsound() const override { return m_chosenturnsound; }

    // Start-up and connection.
    /** Reads the command line (once, on the first show): solo, host, join or wait. */
    void processparams();
    /** How hostpress starts the program's host; without one, hosting fails with a message. */
    void setHostStarter(HostStarter starter) { m_hostStarter = std::move(starter); }
    /**
     * Starts the program's host listening (for this machine only in a solo game, @p reach), then
     * connects this table to it on 127.0.0.1.
     */
    void hostpress(HostReach reach = HostReach::Everyone);
    /** Connects this table to the host at hostaddress. */
    void joinpress();
    /** Menu "Exit": closes the window. */
    void Exit1Click() { close(); }

    // Handlers of the dispatch table that belong to the window.
    /** CMD_chat and CMD_action: the relayed line, "|", and the sender's colour as color text. */
    void chatrecieved(std::string_view rest);
    /** CMD_playasound: a chatter sound from a seat; reported through chatterSoundReceived. */
    void playasound(std::string_view rest);
    /** Reads the settings file when the host announces this table's own seat. */
    void loadinifile();

    TableState& state() { return m_state; }
    const TableState& state() const { return m_state; }
    QString hostaddress() const { return m_hostaddress; }
    /** The port this table hosts or joins on ("7772" unless --port says otherwise). */
    QString portName() const { return m_port; }
    int chosenbotspeed() const { return m_chosenbotspeed; }
    void setChosenbotspeed(int milliseconds) { m_chosenbotspeed = milliseconds; }
    bool justWatchChecked() const { return m_justWatchChecked; }

    TableLink& link() { return *m_link; }
    Board& board() { return *m_board; }
    GameDisplay& display() { return *m_display; }
    ChatView& mainchat() { return *m_mainchat; }
    Tgamestart& gamestart() { return *m_gamestart; }
    /** The spectators, "slot: name" each. */
    QStringList spys() const;
    QAction* startGameAction() const { return m_startGame1; }

signals:
    /** A game-event sound was asked for by its lower-case name ("entered", "placecard", ...). */
    void soundRequested(const QString& name);
    /** A chatter sound ("wave1".."wave20") arrived from @p seat. */
    void chatterSoundReceived(int seat, const QString& name);
    /** A line went to the host (0xFF included). */
    void lineSent(const QByteArray& line);
    /** The window has closed; the program ends. */
    void tableClosed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void buildWindow();
    void buildMenus();
    void registerCommands();
    void full();
    void systemLine(const QString& text);
    void openLobby();

    TableState m_state;
    QString m_hostaddress;
    QStringList m_arguments;
    QString m_port;
    HostStarter m_hostStarter;
    bool m_shownOnce = false;
    bool m_paramsRead = false;
    bool m_closeReported = false;
    bool m_justWatchChecked = false;
    /// Normal speed until the settings file says otherwise.
    int m_chosenbotspeed = 1000;
    int m_chosenturnsound = 0;

    TableLink* m_link = nullptr;
    morlu::TSock* m_sock11 = nullptr;
    Board* m_board = nullptr;
    ChatView* m_mainchat = nullptr;
    std::unique_ptr<GameDisplay> m_display;
    std::unique_ptr<TableSession> m_session;
    Tgamestart* m_gamestart = nullptr;
    QAction* m_startGame1 = nullptr;
};
