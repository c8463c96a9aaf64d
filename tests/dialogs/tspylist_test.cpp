#include "tspylist.h"

#include "printers.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TspylistTest : public ::testing::Test {
protected:
    TspylistTest()
    {
        list = dialog.findChild<QListWidget*>(QStringLiteral("listbox_spys"));
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    /// Moves the mouse over entry @p row of the list (-1: below the last entry), as the window system reports it.
    void pointAt(int row)
    {
        const QPoint at =
            row >= 0 ? list->visualItemRect(list->item(row)).center() : QPoint(10, list->viewport()->height() - 3);
        QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &move);
    }

    Tspylist dialog;
    QListWidget* list = nullptr;
};

TEST_F(TspylistTest, IsASmallListThatStaysOnTop)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Morlu - Spys"));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("label_spylist"))->text(), QStringLiteral("Spy List"));
    EXPECT_EQ(dialog.kickAction()->objectName(), QStringLiteral("popup_kickhim"));
    EXPECT_EQ(dialog.kickAction()->text(), QStringLiteral("Remove From Game"));
    EXPECT_FALSE(dialog.kickAction()->isEnabled()) << "only the host player's table enables it";

    dialog.setEntries({QStringLiteral("6: Zed")});
    EXPECT_EQ(dialog.entries(), QStringList{QStringLiteral("6: Zed")});
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("button_done")), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TspylistTest, RemoveFromGameNamesTheSlotOfTheEntryLastPointedAt)
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
        {"EmptyPartOfTheList", {"5: Eve"}, -1, true, {}},    {"NoMoveYet", {"5: Eve"}, -2, true, {}},
        {"NotTheHostPlayer", {"5: Eve"}, 0, false, {}},      {"NotANumber", {"x: Eve"}, 0, true, {}},
    };
    for (const Row& row : rows) {
        dialog.setEntries({});
        dialog.setEntries(row.entries);
        dialog.setKickEnabled(row.enabled);
        if (row.pointed >= -1)
            pointAt(row.pointed);
        QSignalSpy kicks(&dialog, &Tspylist::kickRequested);
        dialog.popup_kickhimClick();
        QList<int> kicked;
        for (const QList<QVariant>& call : kicks)
            kicked << call.at(0).toInt();
        EXPECT_EQ(kicked, row.kicked) << row.name;
    }
}

TEST_F(TspylistTest, AChangedListForgetsTheEntryPointedAt)
{
    dialog.setEntries({QStringLiteral("5: Eve"), QStringLiteral("6: Zed")});
    dialog.setKickEnabled(true);
    pointAt(1);
    EXPECT_EQ(dialog.rememberedIndex(), 1);
    dialog.setEntries({QStringLiteral("5: Eve"), QStringLiteral("6: Ray")});
    EXPECT_EQ(dialog.rememberedIndex(), -1) << "the remembered row now holds somebody else";
    QSignalSpy kicks(&dialog, &Tspylist::kickRequested);
    dialog.popup_kickhimClick();
    EXPECT_EQ(kicks.count(), 0);
}

} // namespace
