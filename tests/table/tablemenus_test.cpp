#include "tablemenus.h"

#include "printers.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
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
        {"HostGame1", &TableMenus::hostGameChosen},
        {"JoinGame1", &TableMenus::joinGameChosen},
        {"Exit1", &TableMenus::exitChosen},
        {"QuickInstructions1", &TableMenus::quickInstructionsChosen},
        {"TextColor1", &TableMenus::textColorChosen},
        {"ScrollChatOff2", &TableMenus::scrollChatOffChosen},
        {"ClearMainChat2", &TableMenus::clearMainChatChosen},
        {"ResetScreenLocation1", &TableMenus::resetScreenLocationChosen},
        {"PrhaseList1", &TableMenus::phraseListChosen},
        {"JustWatch1", &TableMenus::justWatchChosen},
        {"ViewTally1", &TableMenus::viewTallyChosen},
        {"SpyList1", &TableMenus::spyListChosen},
        {"Help2", &TableMenus::contentChosen},
        {"About1", &TableMenus::aboutChosen},
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

TEST(TableMenus, OptionItemsReportTheirValueAndJustWatchShowsTheHostsWord)
{
    QMainWindow window;
    TableMenus menus(window.menuBar());
    QList<QVariant> reported;
    QObject::connect(&menus, &TableMenus::playSoundsToggled, &menus, [&](bool on) { reported << on; });
    QObject::connect(&menus, &TableMenus::playChatterSoundsToggled, &menus, [&](bool on) { reported << on; });
    QObject::connect(&menus, &TableMenus::turnSoundChosen, &menus, [&](int n) { reported << n; });
    QObject::connect(&menus, &TableMenus::botSpeedChosen, &menus, [&](int n) { reported << n; });
    QObject::connect(&menus, &TableMenus::botLevelChosen, &menus, [&](int level) { reported << level; });
    QObject::connect(&menus, &TableMenus::allowHintsToggled, &menus, [&](bool on) { reported << on; });
    QObject::connect(&menus, &TableMenus::textSizeChosen, &menus, [&](int size) { reported << size; });
    struct Row {
        const char* item;
        QVariant value;
    };
    const Row rows[] = {{"PlaySounds1", false},
                        {"PlayChatterSounds1", true},
                        {"New1", 1},
                        {"Classic1", 0},
                        {"Slow1", 0},
                        {"Fast1", 2},
                        {"BotExpert1", 1},
                        {"BotMaster1", 2},
                        {"BotClassic1", 0},
                        {"AllowHints1", true},
                        {"N12", 12}};
    for (const Row& row : rows) {
        reported.clear();
        window.findChild<QAction*>(QString::fromLatin1(row.item))->trigger();
        EXPECT_EQ(reported, QList<QVariant>{row.value}) << row.item;
    }
    auto* justWatch = window.findChild<QAction*>(QStringLiteral("JustWatch1"));
    for (const bool reportedWatching : {false, true}) {
        menus.setJustWatchChecked(reportedWatching);
        justWatch->trigger();
        EXPECT_EQ(justWatch->isChecked(), reportedWatching) << "a click alone changes no check mark";
    }
    EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("Help2"))->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("ScrollChatOff2"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_S));
    // The computer players are the hosting table's to choose, once it has logged in.
    EXPECT_FALSE(window.findChild<QMenu*>(QStringLiteral("ComputerPlayers1"))->isEnabled());
    // So is the leave for hints, shown to it alone; a hint is asked for only when the table says so.
    EXPECT_FALSE(menus.allowHintsAction()->isVisible());
    EXPECT_FALSE(menus.hintAction()->isEnabled());
}

} // namespace
