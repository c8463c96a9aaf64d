#include "tablemenus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

TableMenus::TableMenus(QMenuBar* bar, QObject* parent) : QObject(parent)
{
    buildFile(bar);
    buildOptions(bar);
    buildView(bar);
    buildHelp(bar);
}

QAction* TableMenus::item(QMenu* menu, const QString& text, const char* name)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* TableMenus::choice(QMenu* menu, QActionGroup* group, const QString& text, const char* name)
{
    QAction* action = item(menu, text, name);
    action->setCheckable(true);
    group->addAction(action);
    return action;
}

void TableMenus::buildFile(QMenuBar* bar)
{
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    m_startGame1 = item(file, QStringLiteral("&Start Game"), "StartGame1");
    m_startGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_startGame1, &QAction::triggered, this, &TableMenus::startGameChosen);
    file->addSeparator();
    QAction* host = item(file, QStringLiteral("&Host Game..."), "HostGame1");
    host->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(host, &QAction::triggered, this, &TableMenus::hostGameChosen);
    QAction* join = item(file, QStringLiteral("&Join Game..."), "JoinGame1");
    join->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    connect(join, &QAction::triggered, this, &TableMenus::joinGameChosen);
    file->addSeparator();
    QAction* record = item(file, QStringLiteral("&Open Game Record..."), "OpenGameRecord1");
    record->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(record, &QAction::triggered, this, &TableMenus::openGameRecordChosen);
    file->addSeparator();
    connect(item(file, QStringLiteral("E&xit"), "Exit1"), &QAction::triggered, this, &TableMenus::exitChosen);
}

void TableMenus::buildOptions(QMenuBar* bar)
{
    m_options = bar->addMenu(QStringLiteral("&Options"));
    m_options->setObjectName(QStringLiteral("Options1"));

    m_playSounds1 = item(m_options, QStringLiteral("Play Sounds"), "PlaySounds1");
    m_playSounds1->setCheckable(true);
    m_playSounds1->setChecked(true);
    connect(m_playSounds1, &QAction::triggered, this, &TableMenus::playSoundsToggled);
    m_playChatterSounds1 = item(m_options, QStringLiteral("Play Chatter Sounds"), "PlayChatterSounds1");
    m_playChatterSounds1->setCheckable(true);
    connect(m_playChatterSounds1, &QAction::triggered, this, &TableMenus::playChatterSoundsToggled);

    QMenu* turn = m_options->addMenu(QStringLiteral("Turn Sound"));
    turn->setObjectName(QStringLiteral("TurnSound1"));
    auto* turnGroup = new QActionGroup(this);
    const char* turnNames[] = {"Classic1", "New1"};
    const QString turnTexts[] = {QStringLiteral("Classic"), QStringLiteral("New")};
    for (int n = 0; n < 2; ++n) {
        m_turnSound[n] = choice(turn, turnGroup, turnTexts[n], turnNames[n]);
        connect(m_turnSound[n], &QAction::triggered, this, [this, n] { emit turnSoundChosen(n); });
    }
    m_turnSound[0]->setChecked(true);

    QMenu* speed = m_options->addMenu(QStringLiteral("Bot Speed"));
    speed->setObjectName(QStringLiteral("BotSpeed1"));
    auto* speedGroup = new QActionGroup(this);
    const char* speedNames[] = {"Slow1", "Normal1", "Fast1"};
    const QString speedTexts[] = {QStringLiteral("Slow"), QStringLiteral("Normal"), QStringLiteral("Fast")};
    for (int n = 0; n < 3; ++n) {
        m_botSpeed[n] = choice(speed, speedGroup, speedTexts[n], speedNames[n]);
        connect(m_botSpeed[n], &QAction::triggered, this, [this, n] { emit botSpeedChosen(n); });
    }
    m_botSpeed[1]->setChecked(true);

    m_computerPlayers = m_options->addMenu(QStringLiteral("Computer Players"));
    m_computerPlayers->setObjectName(QStringLiteral("ComputerPlayers1"));
    auto* levelGroup = new QActionGroup(this);
    const char* levelNames[] = {"BotClassic1", "BotExpert1", "BotMaster1"};
    const QString levelTexts[] = {QStringLiteral("Classic"), QStringLiteral("Expert"), QStringLiteral("Master")};
    for (int n = 0; n < 3; ++n) {
        m_botLevel[n] = choice(m_computerPlayers, levelGroup, levelTexts[n], levelNames[n]);
        connect(m_botLevel[n], &QAction::triggered, this, [this, n] { emit botLevelChosen(n); });
    }
    m_botLevel[0]->setChecked(true);
    m_computerPlayers->setEnabled(false);
    m_options->addSeparator();

    connect(item(m_options, QStringLiteral("Text Color"), "TextColor1"), &QAction::triggered, this,
            &TableMenus::textColorChosen);
    QMenu* size = m_options->addMenu(QStringLiteral("Text Size"));
    size->setObjectName(QStringLiteral("TextSize1"));
    for (int n = 0; n < 4; ++n) {
        const int points = kTextSizes[n];
        const QByteArray name = "N" + QByteArray::number(points);
        m_textSize[n] = item(size, QString::number(points), name.constData());
        m_textSize[n]->setCheckable(true);
        connect(m_textSize[n], &QAction::triggered, this, [this, n, points] {
            for (QAction* other : m_textSize)
                other->setChecked(other == m_textSize[n]);
            emit textSizeChosen(points);
        });
    }
    m_scrollChatOff2 = item(m_options, QStringLiteral("Scroll Chat Off"), "ScrollChatOff2");
    m_scrollChatOff2->setCheckable(true);
    m_scrollChatOff2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_scrollChatOff2->setShortcutContext(Qt::WindowShortcut);
    // The tick follows the chat view's scroll lock, which this item toggles.
    connect(m_scrollChatOff2, &QAction::triggered, this, [this] {
        m_scrollChatOff2->setChecked(!m_scrollChatOff2->isChecked());
        emit scrollChatOffChosen();
    });
    connect(item(m_options, QStringLiteral("Clear Main Chat"), "ClearMainChat2"), &QAction::triggered, this,
            &TableMenus::clearMainChatChosen);
    connect(item(m_options, QStringLiteral("Reset Screen Location"), "ResetScreenLocation1"), &QAction::triggered, this,
            &TableMenus::resetScreenLocationChosen);
    m_options->addSeparator();
    // Dims the cards the host would refuse while it is the player's turn.
    m_showPlayable = item(m_options, QStringLiteral("Show &Playable Cards"), "ShowPlayableCards1");
    m_showPlayable->setCheckable(true);
    m_showPlayable->setChecked(true);
    connect(m_showPlayable, &QAction::toggled, this, &TableMenus::showPlayableToggled);
    // Writes every game played or watched to a game record.
    m_keepRecords = item(m_options, QStringLiteral("Keep Game &Records"), "KeepGameRecords1");
    m_keepRecords->setCheckable(true);
    m_keepRecords->setChecked(true);
    connect(m_keepRecords, &QAction::toggled, this, &TableMenus::keepRecordsToggled);
    // The host player's leave for the other players to ask for hints; only slot 1 sees it.
    m_allowHints = item(m_options, QStringLiteral("Allow &Hints"), "AllowHints1");
    m_allowHints->setCheckable(true);
    m_allowHints->setVisible(false);
    connect(m_allowHints, &QAction::triggered, this, &TableMenus::allowHintsToggled);
    m_justWatch1 = item(m_options, QStringLiteral("Just Watch"), "JustWatch1");
    m_justWatch1->setCheckable(true);
    // The check mark follows the host's answer, never the click: the item shows what the host reported.
    connect(m_justWatch1, &QAction::triggered, this, [this] {
        m_justWatch1->setChecked(m_justWatching);
        emit justWatchChosen();
    });
}

void TableMenus::buildView(QMenuBar* bar)
{
    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    connect(item(view, QStringLiteral("View Tally"), "ViewTally1"), &QAction::triggered, this,
            &TableMenus::viewTallyChosen);
    connect(item(view, QStringLiteral("Spy List"), "SpyList1"), &QAction::triggered, this, &TableMenus::spyListChosen);
    connect(item(view, QStringLiteral("Phrase List"), "PrhaseList1"), &QAction::triggered, this,
            &TableMenus::phraseListChosen);
    QAction* instructions = item(view, QStringLiteral("&Quick Instructions"), "QuickInstructions1");
    instructions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    // Ctrl+I works wherever the focus is in the window, the chat entry included.
    instructions->setShortcutContext(Qt::WindowShortcut);
    connect(instructions, &QAction::triggered, this, &TableMenus::quickInstructionsChosen);
}

void TableMenus::buildHelp(QMenuBar* bar)
{
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    // The text after the tab shows the board's key; the key itself is the board's, so typing an h in the
    // chat entry never asks for a hint.
    m_hint = item(help, QStringLiteral("Hint\tH"), "Hint1");
    m_hint->setEnabled(false);
    connect(m_hint, &QAction::triggered, this, &TableMenus::hintChosen);
    QAction* content = item(help, QStringLiteral("Content"), "Help2");
    content->setShortcut(QKeySequence(Qt::Key_F1));
    // F1 opens the help wherever the focus is in the window, the chat entry included.
    content->setShortcutContext(Qt::WindowShortcut);
    connect(content, &QAction::triggered, this, &TableMenus::contentChosen);
    help->addSeparator();
    connect(item(help, QStringLiteral("About"), "About1"), &QAction::triggered, this, &TableMenus::aboutChosen);
}

void TableMenus::setStartGameEnabled(bool enabled)
{
    m_startGame1->setEnabled(enabled);
}

void TableMenus::setPlaySoundsChecked(bool on)
{
    m_playSounds1->setChecked(on);
}

void TableMenus::setPlayChatterSoundsChecked(bool on)
{
    m_playChatterSounds1->setChecked(on);
}

void TableMenus::setTurnSoundChecked(int choice)
{
    m_turnSound[choice == 1 ? 1 : 0]->setChecked(true);
}

void TableMenus::setBotSpeedChecked(int item)
{
    m_botSpeed[item >= 0 && item < 3 ? item : 1]->setChecked(true);
}

void TableMenus::setBotLevelChecked(int level)
{
    m_botLevel[level >= 0 && level < 3 ? level : 0]->setChecked(true);
}

void TableMenus::setAllowHintsShown(bool shown, bool checked)
{
    m_allowHints->setVisible(shown);
    m_allowHints->setChecked(checked);
}

void TableMenus::setHintEnabled(bool enabled)
{
    m_hint->setEnabled(enabled);
}

void TableMenus::setComputerPlayersEnabled(bool enabled)
{
    m_computerPlayers->setEnabled(enabled);
}

void TableMenus::checkTextSize(int size)
{
    for (int n = 0; n < 4; ++n) {
        if (kTextSizes[n] == size)
            m_textSize[n]->setChecked(true);
    }
}

void TableMenus::setJustWatchChecked(bool on)
{
    m_justWatching = on;
    m_justWatch1->setChecked(on);
}

void TableMenus::setScrollChatOffChecked(bool on)
{
    m_scrollChatOff2->setChecked(on);
}

bool TableMenus::playSoundsChecked() const
{
    return m_playSounds1->isChecked();
}

bool TableMenus::playChatterSoundsChecked() const
{
    return m_playChatterSounds1->isChecked();
}
