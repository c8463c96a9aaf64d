#include "tspylist.h"

#include "printers.h"

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

/// Moves the mouse over entry @p row of @p list (-1: below the last entry), as the window system reports it.
void pointAt(QListWidget* list, int row)
{
    const QPoint at =
        row >= 0 ? list->visualItemRect(list->item(row)).center() : QPoint(10, list->viewport()->height() - 3);
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &move);
}

TEST(Tspylist, RemoveFromGameNamesTheSlotOfTheEntryLastPointedAt)
{
    struct Row {
        const char* name;
        QStringList entries;
        int pointed; ///< row under the pointer, -1 the empty part, -2 no move at all
        bool enabled;
        QList<int> kicked;
    };
    const Row rows[] = {
        {"SecondEntry", {"5: Eve", "7: Zed"}, 1, true, {7}}, {"FirstEntry", {"5: Eve", "7: Zed"}, 0, true, {5}},
        {"EmptyPartOfTheList", {"5: Eve"}, -1, true, {}},    {"NoMoveSinceTheListChanged", {"5: Eve"}, -2, true, {}},
        {"NotTheHostPlayer", {"5: Eve"}, 0, false, {}},      {"NotANumber", {"x: Eve"}, 0, true, {}},
    };
    Tspylist dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Spys"));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dialog.kickAction()->isEnabled()) << "only the host player's table enables it";
    dialog.show();
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("listbox_spys"));
    for (const Row& row : rows) {
        dialog.setEntries(row.entries);
        EXPECT_EQ(dialog.entries(), row.entries);
        EXPECT_EQ(dialog.rememberedIndex(), -1) << row.name;
        dialog.setKickEnabled(row.enabled);
        if (row.pointed >= -1)
            pointAt(list, row.pointed);
        QSignalSpy kicks(&dialog, &Tspylist::kickRequested);
        dialog.popup_kickhimClick();
        QList<int> kicked;
        for (const QList<QVariant>& call : kicks)
            kicked << call.at(0).toInt();
        EXPECT_EQ(kicked, row.kicked) << row.name;
        dialog.setEntries({}); // a changed list forgets the entry pointed at
    }
}

} // namespace
