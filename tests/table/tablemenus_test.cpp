#include "tablemenus.h"

#include "printers.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TEST(TableMenus, EachItemReportsItsOwnChoice)
{
    QMainWindow window;
    TableMenus menus(window.menuBar());
    struct Row {
        const char* item;
        void (TableMenus::*signal)();
    };
    const Row rows[] = {
        {"StartGame1", &TableMenus::startGameChosen},
        {"Exit1", &TableMenus::exitChosen},
        {"QuickInstructions1", &TableMenus::quickInstructionsChosen},
    };
    for (const Row& row : rows) {
        QList<QSignalSpy*> spies;
        for (const Row& other : rows)
            spies << new QSignalSpy(&menus, other.signal);
        auto* action = window.findChild<QAction*>(QString::fromLatin1(row.item));
        ASSERT_NE(action, nullptr) << row.item;
        action->trigger();
        for (qsizetype n = 0; n < spies.size(); ++n)
            EXPECT_EQ(spies[n]->count(), rows[n].signal == row.signal ? 1 : 0) << row.item << " " << rows[n].item;
        qDeleteAll(spies);
    }

    // The keys of the items, and the option that is on until the player turns it off.
    EXPECT_EQ(menus.startGameAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QSignalSpy playable(&menus, &TableMenus::showPlayableToggled);
    ASSERT_TRUE(menus.showPlayableAction()->isChecked());
    EXPECT_EQ(menus.showPlayableAction()->text().remove(QLatin1Char('&')), QStringLiteral("Show Playable Cards"));
    menus.showPlayableAction()->trigger();
    ASSERT_EQ(playable.count(), 1);
    EXPECT_FALSE(playable.at(0).at(0).toBool());

    menus.setStartGameEnabled(false);
    EXPECT_FALSE(menus.startGameAction()->isEnabled());
    QSignalSpy started(&menus, &TableMenus::startGameChosen);
    menus.startGameAction()->trigger();
    EXPECT_EQ(started.count(), 0);
}

} // namespace
