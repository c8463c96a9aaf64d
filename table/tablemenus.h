#pragma once

#include <QObject>

class QAction;
class QMenuBar;

/**
 * The menus of the table window's menu bar: "File" (Start Game, Ctrl+N; Exit), "View" (Quick
 * Instructions, Ctrl+I) and "Options" (Show Playable Cards). The menus only report what was chosen; the window connects
 * each signal to the handler that does it, so the menus never hold the board, the input or the connection.
 */
class TableMenus : public QObject {
    Q_OBJECT

public:
    /** Adds the menus to @p bar, whose window owns their actions. */
    explicit TableMenus(QMenuBar* bar, QObject* parent = nullptr);

    /** "Show Playable Cards" in "Options": checked while the cards the host would refuse are dimmed. */
    QAction* showPlayableAction() const { return m_showPlayable; }

    /** "Start Game": enabled only on the hosting table. */
    QAction* startGameAction() const { return m_startGame1; }
    void setStartGameEnabled(bool enabled);

signals:
    void startGameChosen();
    void exitChosen();
    void quickInstructionsChosen();
    void showPlayableToggled(bool shown);

private:
    QAction* m_startGame1 = nullptr;
    QAction* m_showPlayable = nullptr;
};
