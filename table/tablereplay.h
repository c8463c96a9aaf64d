#pragma once

#include "replaycontroller.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string_view>

class Board;
class BoardDisplay;
class ChatPane;
class QMainWindow;
class QToolBar;
class ReplayBar;
class SoundPlayer;
class TableConnection;
class TableDialogs;
struct TableState;

/**
 * The table showing a game record instead of a game: File > Open Game Record... and `--replay FILE`.
 *
 * A replaying table has no host and never sends anything (TableConnection::setReplaying). Its
 * ReplayController hands the recorded lines to the dispatch the live table uses (TableLink::handleLine),
 * so the board, the game log and the chat show what they showed then. Going back resets the table's
 * game (the board, the model, the game log and the chat) to the record's seats and names, from its
 * header, then takes the lines from the start with the sounds muted and the window not drawn; the
 * window is drawn once at the end. The ReplayBar sits under the board.
 *
 * Opening a record on a table that plays (or could play) a live game starts the program anew on the
 * record (through the Restarter, as Host Game and Join Game do): one window per program holds the
 * tally, the settings and the host. A running game is left only when the player says so.
 */
class TableReplay : public QObject, public ReplayTarget {
    Q_OBJECT

public:
    struct Parts {
        QMainWindow& window;
        Board& board;
        BoardDisplay& display;
        TableState& state;
        ChatPane& chat;
        SoundPlayer& sounds;
        TableConnection& connection;
        TableDialogs& dialogs;
    };
    /** Asks the player for a record to open, in @p folder; empty when none was chosen. */
    using FileChooser = std::function<QString(const QString& folder)>;
    /** Starts the program anew with @p arguments. */
    using Restarter = std::function<void(const QStringList& arguments)>;

    TableReplay(Parts parts, std::unique_ptr<OneShotTimer> timer = {}, QObject* parent = nullptr);
    ~TableReplay() override;

    /**
     * Shows the record at @p path on this table, which replays from now on. False when the file is no
     * record at all; a record that can be read only in part is shown up to the line that stopped it,
     * and the bar says which line that is.
     */
    bool open(const QString& path);
    bool replaying() const { return !m_path.isEmpty(); }
    /** The record shown; empty while the table plays live. */
    QString path() const { return m_path; }

    /**
     * File > Open Game Record...: a record chosen in the records folder is shown here when the table
     * replays already; otherwise the program starts again on it (after asking, while a game runs).
     */
    void OpenGameRecord1Click();
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    void setRestarter(Restarter restarter) { m_restarter = std::move(restarter); }
    void setRecordsFolder(std::function<QString()> folder) { m_folder = std::move(folder); }

    ReplayController& controller() { return m_controller; }
    ReplayBar* bar() const { return m_bar; }

    // ReplayTarget.
    void resetGame() override;
    void feed(std::string_view line) override;
    void beginBatch() override;
    void endBatch() override;

signals:
    /** The program has been asked to start again on a record: this table closes without asking. */
    void leaving();

private:
    void showBar();

    Parts m_parts;
    ReplayController m_controller;
    QToolBar* m_toolBar = nullptr;
    ReplayBar* m_bar = nullptr;
    QString m_path;
    FileChooser m_chooser;
    Restarter m_restarter;
    std::function<QString()> m_folder;
    int m_batch = 0;
};
