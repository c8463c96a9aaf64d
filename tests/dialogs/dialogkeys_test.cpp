#include "printers.h"
#include "tabout.h"
#include "tphrases.h"
#include "tspylist.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The small modeless dialogs answer the keyboard like any dialog: Enter presses the default button, also
// from inside an edit box, and Esc closes without applying anything.
TEST(DialogKeys, EnterPressesTheDefaultButtonAndEscClosesWithoutApplying)
{
    struct Row {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
        const char* target; ///< the child that has the keyboard; nullptr: the dialog itself
        Qt::Key key;
        int applied; ///< phrasesChosen signals expected (the phrase editor only)
    };
    const auto phrases = [] {
        auto dialog = std::make_unique<Tphrases>(QPixmap());
        dialog->PrhaseList1Click(QStringList(9, QStringLiteral("Hi")), nullptr);
        return std::unique_ptr<QDialog>(std::move(dialog));
    };
    const auto spylist = [] {
        auto dialog = std::make_unique<Tspylist>();
        dialog->setEntries({QStringLiteral("5: Eve")});
        dialog->showOver(nullptr);
        return std::unique_ptr<QDialog>(std::move(dialog));
    };
    const auto about = [] {
        auto dialog = std::make_unique<Tabout>(QStringLiteral("1.0.5"), QPixmap(64, 64));
        dialog->showCentredOn(nullptr);
        return std::unique_ptr<QDialog>(std::move(dialog));
    };
    const Row rows[] = {
        {"PhrasesEnterInABox", phrases, "phrase3", Qt::Key_Return, 1},
        {"PhrasesEsc", phrases, "phrase3", Qt::Key_Escape, 0},
        {"SpyListEnter", spylist, "listbox_spys", Qt::Key_Return, 0},
        {"SpyListEsc", spylist, nullptr, Qt::Key_Escape, 0},
        {"AboutEnter", about, nullptr, Qt::Key_Return, 0},
    };
    for (const Row& row : rows) {
        const std::unique_ptr<QDialog> dialog = row.make();
        ASSERT_TRUE(dialog->isVisible()) << row.name;
        QWidget* target =
            row.target != nullptr ? dialog->findChild<QWidget*>(QString::fromLatin1(row.target)) : dialog.get();
        ASSERT_NE(target, nullptr) << row.name;
        std::unique_ptr<QSignalSpy> applied;
        if (auto* editor = qobject_cast<Tphrases*>(dialog.get()))
            applied = std::make_unique<QSignalSpy>(editor, &Tphrases::phrasesChosen);
        QTest::keyClick(target, row.key);
        EXPECT_FALSE(dialog->isVisible()) << row.name;
        EXPECT_EQ(applied ? int(applied->count()) : 0, row.applied) << row.name;
    }
}

} // namespace
