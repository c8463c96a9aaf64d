#pragma once

#include "hoststarter.h"
#include "startplan.h"
#include "tabledialogs.h"
#include "tablestate.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string_view>

class Board;
class BoardDisplay;
class BoardKeys;
class FriendsLine;
class HintRequester;
class QtOneShotTimer;
class PlayableCards;
class PlayTogether;
class ReconnectLine;
class TableAccessibility;
class TableModel;
class ChatPane;
class QtSoundOutput;
class SoundPlayer;
class TableOptions;
class Tphrases;
class ChatView;
class GameDisplay;
class PlayerInput;
class QAction;
class RoundDisplay;
class SeatControls;
class TableConnection;
class TableEvents;
class TableLink;
class TableMenus;
class TableSession;
class TableReplay;
class GameRecorder;
class TallyRecorder;
class Tabout;
class Tdownload;
class Tgamestart;
class Thelp;
class Tspylist;

namespace morlu {
class GameFinder;
} // namespace morlu

/**
 * The table: the program's main window. It composes the parts of the table and wires them together:
 * the board with its round and game display and the player's input, the chat pane, the menus, the
 * arrivals and departures (TableSession) and the connection to the host. Each part registers the
 * commands it handles on the connection's dispatch table.
 *
 * It reads the command line when first shown, hosts or joins, and closes, ending the program, when
 * the connection to the host ends. The table never holds the host: when it hosts, it asks the
 * program's host to listen through the HostStarter the program gave it, then connects to it like any
 * other table. It opens the table's boxes (TableDialogs) and its windows (tally, spy list, help,
 * about, lobby offer) over itself. The sound player listens to the table's events and chatter sounds;
 * the options apply and keep the settings.
 *
 * The host player's controls (START, "Start Game", removing players) follow slot 1: they are the
 * table's when the host gives it slot 1, whether its own program hosts or it joined a dedicated host.
 * While a game runs, File > Exit and the close box ask before leaving it; a close the player did not
 * ask for (the host gone, a stop signal) does not. Hosting and joining from the window belong to
 * PlayTogether.
 *
 * The tally is saved whenever the window closes, whatever closes it (the player, the host ending or
 * removing the table, a stop signal), and when the window is destroyed without closing.
 */
class Tchat : public QMainWindow, public TableDialogs {
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

    /** Reads the command line (once, on the first show): solo, host, join or wait. */
    void processparams();
    /** How hostpress starts the program's host; without one, hosting fails with a message. */
    void setHostStarter(HostStarter starter);
    /**
     * Starts the program's host listening (for this machine only in a solo game, @p reach), then
     * connects this table to it on 127.0.0.1.
     */
    void hostpress(HostReach reach = HostReach::Everyone);
    /**
     * Connects this table to the host at hostaddress, asking for the seat it held there when the settings
     * keep a seat key from that host (the program was ended, or crashed, during a game).
     */
    void joinpress();
    /** The games found on the local network, for Join Game; the program's composition owns the finder. */
    void setGameFinder(morlu::GameFinder* finder);
    morlu::GameFinder* gameFinder() const { return m_gameFinder; }
    /** A line about this table's hosting for the player ("Reachable from the internet at ...", or why not). */
    void hostNotice(const QString& text);
    /** An address a friend can type to join the game this table hosts ("203.0.113.7:7772"). */
    void addReachableAddress(const QString& address);
    /** The addresses given to addReachableAddress, in order. */
    QStringList reachableAddresses() const { return m_reachableAddresses; }
    /**
     * Shows the game record at @p path instead of playing (`--replay FILE`): no host, no connection,
     * nothing sent, nothing counted in the tally. False when the file is no record.
     */
    bool openGameRecord(const QString& path);
    /** Menu "Exit": closes the window, asking first while a game runs. */
    void Exit1Click();
    /**
     * How Host Game and Join Game start the chosen game: the program again with these arguments (by
     * default a new process of the program's own path, started at once).
     */
    void setRestarter(std::function<void(const QStringList& arguments)> restarter);
    /** CMD_chat and CMD_action: the relayed line, drawn in the chat pane. */
    void chatrecieved(std::string_view rest);
    /** Reads the settings file when the host announces this table's own seat. */
    void loadinifile();
    /** Where the settings file is (TableSettings::defaultPath() unless a test or tool says otherwise). */
    void setSettingsPath(const QString& path);
    /** Keeps the tally in the file at @p path (read now, written after games and at the end). */
    void useTallyFile(const QString& path);

    /** "View Tally": the tally dialog with the players now at the table. */
    void ViewTally1Click();
    /** "Spy List": shows the spy list (not modal). */
    void SpyList1Click();
    /** "Just Watch": asks the host to let the computer play the own seat, or to give it back. */
    void JustWatch1Click();
    /** "Content" (F1): the help window. */
    void Help2Click();
    /** "About": the about box. */
    void About1Click();

    // TableDialogs.
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    bool askRetry(const QString& text) override;
    JoinFailedAnswer askRetryChangeOrQuit(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showGameStart() override;

    TableState& state() { return m_state; }
    const TableState& state() const { return m_state; }
    QString hostaddress() const { return m_hostaddress; }
    /** The port this table hosts or joins on ("7772" unless --port says otherwise). */
    QString portName() const { return m_port; }
    int chosenbotspeed() const;
    /**
     * Fixes the computer players' delay the hosting table tells the host, whatever the settings file or
     * the menu say: for test rigs and tools whose computer players must not wait.
     */
    void setChosenbotspeed(int milliseconds);

    TableLink& link();
    /** The connection to the host; every request goes through it. */
    TableConnection& connection() { return *m_connection; }
    Board& board() { return *m_board; }
    PlayableCards& playable() { return *m_playable; }
    HintRequester& hints() { return *m_hints; }
    /** What a screen reader hears of the table. */
    TableAccessibility& accessibility() { return *m_access; }
    /** What the host has said about the game. */
    const TableModel& model() const;
    ChatView& mainchat();
    ChatPane& chat() { return *m_chat; }
    TableMenus& menus() { return *m_menus; }
    TableOptions& options() { return *m_options; }
    SoundPlayer& sounds() { return *m_sounds; }
    QtSoundOutput& soundOutput() { return *m_soundOutput; }
    Tphrases& phrases() { return *m_phrases; }
    TableEvents& events() { return *m_events; }
    Tgamestart& gamestart() { return *m_gamestart; }
    TallyRecorder& tally() { return *m_tally; }
    GameRecorder& gameRecorder() { return *m_records; }
    Tspylist& spylist() { return *m_spylist; }
    SeatControls& seatControls() { return *m_seatControls; }
    Thelp& help() { return *m_help; }
    Tabout& about() { return *m_about; }
    Tdownload& download() { return *m_download; }
    PlayTogether& playTogether() { return *m_play; }
    TableReplay& replay() { return *m_replay; }
    FriendsLine& friendsLine() { return *m_friends; }
    /** The spectators, "slot: name" each. */
    QStringList spys() const;
    QAction* startGameAction() const;

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
    /// The host this table joins, as its seat key is kept with it ("host:port").
    QString keptHostName() const;
    void FormCreate();
    void buildParts();
    void wireParts();
    /** The host player's controls (START, "Start Game", the spy list's removal) for slot 1 only. */
    void followSlotOne();
    /** The window's title: where the player is (WindowTitle). */
    void refreshTitle();
    void wireMenus();
    /** "Phrase List": the editor, filled from the phrase buttons. */
    void PrhaseList1Click();
    /// True when no game runs, or the player agreed to leave it (and end it for everybody, as its host).
    bool mayLeaveGame();

    TableState m_state;
    QString m_hostaddress;
    QStringList m_arguments;
    QStringList m_reachableAddresses;
    morlu::GameFinder* m_gameFinder = nullptr;
    QString m_port;
    StartPlan::Mode m_startMode = StartPlan::Mode::Waiting;
    bool m_shownOnce = false;
    bool m_paramsRead = false;
    bool m_closeReported = false;
    bool m_tallySaved = false;
    /// The player has already agreed to leave (Exit, or a new game chosen): closing asks no more.
    bool m_leaving = false;

    TableEvents* m_events = nullptr;
    Board* m_board = nullptr;
    ChatPane* m_chat = nullptr;
    TableMenus* m_menus = nullptr;
    TableConnection* m_connection = nullptr;
    Tgamestart* m_gamestart = nullptr;
    Tphrases* m_phrases = nullptr;
    QtSoundOutput* m_soundOutput = nullptr;
    SoundPlayer* m_sounds = nullptr;
    TableOptions* m_options = nullptr;
    TallyRecorder* m_tally = nullptr;
    GameRecorder* m_records = nullptr;
    Tspylist* m_spylist = nullptr;
    SeatControls* m_seatControls = nullptr;
    Thelp* m_help = nullptr;
    Tabout* m_about = nullptr;
    Tdownload* m_download = nullptr;
    FriendsLine* m_friends = nullptr;
    PlayTogether* m_play = nullptr;
    TableReplay* m_replay = nullptr;
    std::unique_ptr<BoardDisplay> m_display;
    std::unique_ptr<RoundDisplay> m_round;
    std::unique_ptr<GameDisplay> m_game;
    std::unique_ptr<PlayerInput> m_input;
    std::unique_ptr<TableSession> m_session;
    // Playing by keyboard, the playable cards and what a screen reader hears.
    BoardKeys* m_keys = nullptr;
    std::unique_ptr<PlayableCards> m_playable;
    std::unique_ptr<TableAccessibility> m_access;
    QtOneShotTimer* m_hintTimer = nullptr;
    HintRequester* m_hints = nullptr;
    std::unique_ptr<ReconnectLine> m_reconnectLine;
};
