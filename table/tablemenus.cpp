#include "tablemenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

TableMenus::TableMenus(QMenuBar* bar, QObject* parent) : QObject(parent)
{
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    m_startGame1 = file->addAction(QStringLiteral("&Start Game"), this, &TableMenus::startGameChosen);
    m_startGame1->setObjectName(QStringLiteral("StartGame1"));
    m_startGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &TableMenus::exitChosen);
    exit->setObjectName(QStringLiteral("Exit1"));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction* instructions =
        view->addAction(QStringLiteral("&Quick Instructions"), this, &TableMenus::quickInstructionsChosen);
    instructions->setObjectName(QStringLiteral("QuickInstructions1"));
    instructions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    // Ctrl+I works wherever the focus is in the window, the chat entry included.
    instructions->setShortcutContext(Qt::WindowShortcut);

    // Options: the playable cards.
    QMenu* options = bar->findChild<QMenu*>(QStringLiteral("Options1"));
    if (!options) {
        options = bar->addMenu(QStringLiteral("&Options"));
        options->setObjectName(QStringLiteral("Options1"));
    }
    m_showPlayable = options->addAction(QStringLiteral("Show &Playable Cards"));
    m_showPlayable->setObjectName(QStringLiteral("ShowPlayableCards1"));
    m_showPlayable->setCheckable(true);
    m_showPlayable->setChecked(true);
    connect(m_showPlayable, &QAction::toggled, this, &TableMenus::showPlayableToggled);
}

void TableMenus::setStartGameEnabled(bool enabled)
{
    m_startGame1->setEnabled(enabled);
}
