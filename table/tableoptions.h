#pragma once

#include "tablesettings.h"

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class ChatPane;
class HostRequests;
class QWidget;
class SoundPlayer;
class TableEvents;
class TableMenus;
struct TableState;

/**
 * The player's settings at work: it reads the settings file when the host announces the table's own
 * seat (`loadinifile`) and applies every key to the part it belongs to, handles the Options menu and
 * writes the file after each change (`saveinifile`) and when the window closes after a move or a
 * resize (`FormClose`). It sends the computer players' speed and level to the host, and the host player's
 * leave for hints (CMD_allowhints, when slot 1 logs in and when it changes; the item is shown to slot 1 only).
 *
 * Nothing is written before the settings have been read: until the table has logged in, the window
 * holds only its built-in state, and writing that would wipe the player's stored settings. Changes made
 * from the menu before then take effect on the table and are simply not stored.
 *
 * Every save is one change set, written at once. A save that fails is said once in the chat (a system
 * line with the path and the reason) and tried again with the next save and when the window closes,
 * until it succeeds.
 */
class TableOptions : public QObject {
    Q_OBJECT

public:
    /// Asks the player for a colour, starting at @p current; nothing when the player cancels.
    using ColourChooser = std::function<std::optional<QColor>(const QColor& current)>;

    /** The parts the settings apply to. */
    struct Parts {
        QWidget& window;
        TableMenus& menus;
        ChatPane& chat;
        SoundPlayer& sounds;
        TableEvents& events;
        HostRequests& host;
        const TableState& state;
    };

    /** Settings kept in the file at @p path (TableSettings::defaultPath() in the program). */
    TableOptions(const Parts& parts, const QString& path, ColourChooser chooseColour, QObject* parent = nullptr);

    /**
     * Reads every key in its order and applies it; from now on the file is written. The window's place
     * is applied at the first reading only: a login after a dropped connection leaves the window alone.
     */
    void loadinifile();
    /** Writes every key but the phrases, with the window's current bounds; false before loadinifile. */
    bool saveinifile();
    /**
     * The window is closing: writes its bounds if it was moved or resized since the last read or write,
     * and whatever an earlier failed save left unwritten.
     */
    void FormClose();
    /**
     * The phrase editor's "Done": the phrases, each cut to TableSettings::kPhraseLength, go on the
     * buttons and into the file (Phrase1..Phrase9).
     */
    void savePhrases(const QStringList& phrases);

    // The Options menu: each change is applied, then written (once the settings have been read).
    void PlaySounds1Click(bool on);
    void PlayChatterSounds1Click(bool on);
    void New1Click(int choice);
    void Slow1Click(int item);
    /** "Computer Players": 0 Classic, 1 Expert, 2 Master. */
    void BotLevelClick(int level);
    /** "Allow Hints": kept, and told to the host when this table is slot 1. */
    void AllowHints1Click(bool on);
    void TextColor1Click();
    void N14Click(int size);
    void ResetScreenLocation1Click();
    /** "Show Playable Cards": the window dims the cards; this keeps the choice. */
    void ShowPlayableCards1Click(bool on);
    /** "Keep Game Records": the window switches its game recorder; this keeps the choice. */
    void KeepGameRecords1Click(bool on);

    bool settingsRead() const { return m_read; }
    /** The computer players' delay the table tells the host. */
    int chosenbotspeed() const { return m_fixedBotSpeed.value_or(m_current.botspeed); }
    /** A delay that the file and the menu do not change (test rigs, tools); the menu still ticks. */
    void setFixedBotSpeed(int milliseconds) { m_fixedBotSpeed = milliseconds; }
    /** Where the settings file is; set before the table logs in. */
    void setPath(const QString& path) { m_path = path; }
    QRect savedbounds() const { return m_savedbounds; }
    const QString& path() const { return m_path; }

private:
    void applyPlaySounds(bool on);
    void applyChatterSounds(bool on);
    QRect windowBounds() const;
    void setWindowBounds(const QRect& bounds);
    bool write(const QRect& bounds);
    /// Writes what waits (the settings, the phrases) as one change each; says a first failure in the chat.
    bool writePending();
    void sendBotSpeed();
    void sendBotLevels();
    void sendAllowHints();
    bool hosting() const;

    Parts m_parts;
    QString m_path;
    ColourChooser m_chooseColour;
    /// The settings as the table shows them now (bounds aside, which the window holds).
    TableSettings m_current;
    QRect m_savedbounds{0, 0, 0, 0};
    bool m_read = false;
    std::optional<int> m_fixedBotSpeed;
    bool m_settingsPending = false;
    QRect m_pendingBounds;
    std::optional<QStringList> m_pendingPhrases;
    bool m_failureShown = false;
    std::string m_line;
};
