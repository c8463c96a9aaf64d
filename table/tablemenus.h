#pragma once

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

/**
 * The menus of the table window's menu bar: "File" (Start Game, Ctrl+N; Host Game..., Ctrl+H; Join
 * Game..., Ctrl+J; Open Game Record..., Ctrl+O; Exit), "Options" (the sound
 * switches, turn sound, bot speed, the computer players' level, text colour and size, Scroll Chat Off,
 * Clear Main Chat, Reset Screen Location, Show Playable Cards, Keep Game Records, Allow Hints, Just Watch), "View" (View
 * Tally, Spy List, Phrase List, Quick Instructions) and "Help" (Hint, Content, About). The menus only report what was chosen and show the
 * ticks they are told; the window connects each signal to the part that does it, so the menus never hold the board, the
 * input, the chat or the connection.
 *
 * "Computer Players" is enabled, and "Allow Hints" shown, only for the host player's table. "Hint" shows the key H,
 * which the board handles (a shortcut of the window would take the letter from the chat entry); it is enabled only
 * while the player may ask (setHintEnabled). The check mark of "Just Watch" shows
 * what the host last reported for the own seat (setJustWatchChecked), not the click.
 */
class TableMenus : public QObject {
    Q_OBJECT

public:
    /// The text sizes of "Text Size", in menu order.
    static constexpr int kTextSizes[] = {8, 10, 12, 14};

    /** Adds the menus to @p bar, whose window owns their actions. */
    explicit TableMenus(QMenuBar* bar, QObject* parent = nullptr);

    /** "Show Playable Cards" in "Options": checked while the cards the host would refuse are dimmed. */
    QAction* showPlayableAction() const { return m_showPlayable; }
    /** "Keep Game Records" in "Options": checked while every game is written to a game record. */
    QAction* keepRecordsAction() const { return m_keepRecords; }
    /** "Allow Hints" in "Options": checked while the host player lets the other players ask for hints. */
    QAction* allowHintsAction() const { return m_allowHints; }
    /** "Hint" in "Help". */
    QAction* hintAction() const { return m_hint; }
    void setHintEnabled(bool enabled);

    /** "Start Game": enabled only on the hosting table. */
    QAction* startGameAction() const { return m_startGame1; }
    void setStartGameEnabled(bool enabled);

    void setPlaySoundsChecked(bool on);
    void setPlayChatterSoundsChecked(bool on);
    /** Ticks "Classic" (0) or "New" (1). */
    void setTurnSoundChecked(int choice);
    /** Ticks "Slow" (0), "Normal" (1) or "Fast" (2). */
    void setBotSpeedChecked(int item);
    /** Ticks "Classic" (0), "Expert" (1) or "Master" (2) under "Computer Players". */
    void setBotLevelChecked(int level);
    void setComputerPlayersEnabled(bool enabled);
    /** Shows "Allow Hints" (to the host player only) with @p checked as its tick. */
    void setAllowHintsShown(bool shown, bool checked);
    /** Ticks the Text Size item of @p size, if there is one; the others keep their ticks. */
    void checkTextSize(int size);
    void setScrollChatOffChecked(bool on);
    void setJustWatchChecked(bool on);

    bool playSoundsChecked() const;
    bool playChatterSoundsChecked() const;
    QMenu* optionsMenu() const { return m_options; }

signals:
    void startGameChosen();
    void hostGameChosen();
    void joinGameChosen();
    void openGameRecordChosen();
    void exitChosen();
    void quickInstructionsChosen();
    void showPlayableToggled(bool shown);
    void keepRecordsToggled(bool on);
    /** "Play Sounds" and "Play Chatter Sounds": the tick they show now. */
    void playSoundsToggled(bool on);
    void playChatterSoundsToggled(bool on);
    /** 0 "Classic", 1 "New". */
    void turnSoundChosen(int choice);
    /** 0 "Slow", 1 "Normal", 2 "Fast". */
    void botSpeedChosen(int item);
    /** 0 "Classic", 1 "Expert", 2 "Master". */
    void botLevelChosen(int level);
    void allowHintsToggled(bool on);
    /** "Hint" (the key H on the board asks the same). */
    void hintChosen();
    void textColorChosen();
    /** A Text Size item: the chosen size. */
    void textSizeChosen(int size);
    void scrollChatOffChosen();
    void clearMainChatChosen();
    void resetScreenLocationChosen();
    void phraseListChosen();
    void justWatchChosen();
    void viewTallyChosen();
    void spyListChosen();
    /** "Content" (F1). */
    void contentChosen();
    void aboutChosen();

private:
    void buildFile(QMenuBar* bar);
    void buildOptions(QMenuBar* bar);
    void buildView(QMenuBar* bar);
    void buildHelp(QMenuBar* bar);
    QAction* item(QMenu* menu, const QString& text, const char* name);
    /// A checkable item of @p menu that is one of the exclusive choices of @p group.
    QAction* choice(QMenu* menu, QActionGroup* group, const QString& text, const char* name);

    QAction* m_startGame1 = nullptr;
    QAction* m_showPlayable = nullptr;
    QAction* m_keepRecords = nullptr;
    QAction* m_allowHints = nullptr;
    QAction* m_hint = nullptr;
    QMenu* m_options = nullptr;
    QAction* m_playSounds1 = nullptr;
    QAction* m_playChatterSounds1 = nullptr;
    QAction* m_turnSound[2] = {};
    QAction* m_botSpeed[3] = {};
    QAction* m_botLevel[3] = {};
    QMenu* m_computerPlayers = nullptr;
    QAction* m_textSize[4] = {};
    QAction* m_scrollChatOff2 = nullptr;
    QAction* m_justWatch1 = nullptr;
    bool m_justWatching = false;
};
