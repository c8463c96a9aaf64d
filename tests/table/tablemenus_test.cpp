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

    menus.setStartGameEnabled(false);
    EXPECT_FALSE(menus.startGameAction()->isEnabled());
    QSignalSpy started(&menus, &TableMenus::startGameChosen);
    menus.startGameAction()->trigger();
    EXPECT_EQ(started.count(), 0);
}

} // namespace
