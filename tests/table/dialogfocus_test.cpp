#include "dialogfocus.h"

#include "printers.h"
#include "waituntil.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using morlu::test::waitUntil;

bool becomesActive(QWidget& window)
{
    window.activateWindow();
    return waitUntil([&window] { return QApplication::activeWindow() == &window; }, 2000);
}

// A dialog of the table that closes with the keyboard gives it back to the table; one that closes while
// something else has it, or that belongs to another window, leaves the keyboard where it is.
TEST(DialogFocus, TheTableGetsTheKeyboardBackOnlyFromItsOwnActiveDialog)
{
    enum class Active { Dialog, Elsewhere };
    struct Row {
        const char* name;
        bool ownDialog;
        Active active;
        bool tableActiveAfter;
    };
    const Row rows[] = {
        {"OwnActiveDialog", true, Active::Dialog, true},
        {"OwnDialogInTheBackground", true, Active::Elsewhere, false},
        {"AnotherWindowsDialog", false, Active::Dialog, false},
    };
    for (const Row& row : rows) {
        QWidget table;
        QWidget other;
        table.setObjectName(QStringLiteral("table"));
        DialogFocus focus(table);
        table.show();
        other.show();
        QDialog dialog(row.ownDialog ? &table : &other);
        dialog.show();
        ASSERT_TRUE(becomesActive(row.active == Active::Dialog ? static_cast<QWidget&>(dialog) : other)) << row.name;

        dialog.hide();
        waitUntil([&table] { return QApplication::activeWindow() == &table; }, 300);
        EXPECT_EQ(QApplication::activeWindow() == &table, row.tableActiveAfter) << row.name;
    }
}

} // namespace
