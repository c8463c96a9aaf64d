#include "ttallylist.h"

#include "messagebox.h"
#include "printers.h"
#include "tallystore.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using morlu::TallyStore;

namespace {

/// The dialog over a store following Ann, Bob and Cid, with its questions answered by the test.
class TtallylistTest : public ::testing::Test {
protected:
    TtallylistTest()
    {
        MessageBox::clearAnswered();
        for (const char* name : {"Ann", "Bob", "Cid"})
            store.addOpponent(QString::fromLatin1(name));
        store.addgame(QStringLiteral("Cid"), {QStringLiteral("Cid")});
        dialog.loadtally();
        dialog.setPlayersInCurrentGame({QStringLiteral("Dot"), QStringLiteral("Bob")});
    }
    ~TtallylistTest() override { MessageBox::clearAnswered(); }

    QString text(const char* name) const { return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QListWidget* list(const char* name) const { return dialog.findChild<QListWidget*>(QString::fromLatin1(name)); }
    /// The entries of @p name, each followed by "+" when ticked.
    QStringList entries(const char* name) const
    {
        QStringList texts;
        for (int n = 0; n < list(name)->count(); ++n)
            texts << list(name)->item(n)->text() + (list(name)->item(n)->checkState() == Qt::Checked ? "+" : "");
        return texts;
    }
    QStringList shownRecord() const
    {
        QStringList values;
        for (int column = 1; column <= 8; ++column)
            values << text(QStringLiteral("label_%1").arg(column).toLatin1().constData());
        return values;
    }
    /// Ticks or unticks an entry the way a click on its box does.
    void tick(const char* name, int row, bool checked)
    {
        list(name)->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }

    TallyStore store;
    Ttallylist dialog{store};
    QSignalSpy edited{&dialog, &Ttallylist::tallyEdited};
};

TEST_F(TtallylistTest, TickingAPlayerInTheGameStartsHisTallyAndSelectingShowsARecord)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Morlu - Tally List"));
    EXPECT_EQ(entries("checklist"), (QStringList{"Dot", "Bob+"})) << "a tallied name comes ticked";
    tick("checklist", 0, true);
    tick("checklist", 1, false);
    EXPECT_EQ(entries("checklist"), (QStringList{"Dot+", "Bob+"})) << "unticking here deletes nothing";
    EXPECT_EQ(entries("listbox_tally"), (QStringList{"Ann+", "Bob+", "Cid+", "Dot+"}));
    EXPECT_EQ(store.tallied().size(), 4);
    EXPECT_EQ(edited.count(), 1);

    list("listbox_tally")->setCurrentRow(2);
    EXPECT_EQ(shownRecord(), (QStringList{"1", "1", "0", "0", "1", "1", "0", "0"}));
    EXPECT_EQ(text("label_hisname"), QStringLiteral("Cid Wins:"));
    EXPECT_EQ(text("label_hisnametop"), QStringLiteral("Cid's Tally"));
    store.addgame(QString::fromLatin1(TallyStore::kAddToMine), {QStringLiteral("Cid")});
    dialog.showCounts();
    EXPECT_EQ(shownRecord(), (QStringList{"2", "1", "1", "0", "2", "1", "1", "0"})) << "counted again, shown again";
    EXPECT_EQ(text("mylabel_1"), QStringLiteral("2"));
    EXPECT_EQ(text("mylabel_2"), QStringLiteral("1"));

    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("button_done")), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TtallylistTest, UntickingATalliedPlayerDeletesHisRecordOnlyAfterYes)
{
    MessageBox::setNextAnswer(QMessageBox::No);
    tick("listbox_tally", 1, false);
    EXPECT_EQ(MessageBox::answered(),
              QStringList{QStringLiteral("This will delete Bob's Tally, Are you want to delete it?")});
    EXPECT_EQ(entries("listbox_tally"), (QStringList{"Ann+", "Bob+", "Cid+"})) << "No ticks it again";

    MessageBox::setNextAnswer(QMessageBox::Yes);
    tick("listbox_tally", 1, false);
    EXPECT_EQ(store.tallied(), (QStringList{"Ann", "Cid"}));
    EXPECT_EQ(entries("listbox_tally"), (QStringList{"Ann+", "Cid+"}));
    EXPECT_EQ(entries("checklist"), (QStringList{"Dot", "Bob"})) << "Bob, still at the table, is no longer tallied";
    list("listbox_tally")->setCurrentRow(1);
    EXPECT_EQ(shownRecord(), (QStringList{"1", "1", "0", "0", "1", "1", "0", "0"})) << "Cid moved up with his counts";
    EXPECT_EQ(edited.count(), 1);
}

TEST_F(TtallylistTest, TallyResetErasesEverythingOnlyAfterYes)
{
    list("listbox_tally")->setCurrentRow(2);
    auto* reset = dialog.findChild<QPushButton*>(QStringLiteral("button_reset"));
    MessageBox::setNextAnswer(QMessageBox::No);
    QTest::mouseClick(reset, Qt::LeftButton);
    EXPECT_EQ(MessageBox::answered(), QStringList{QStringLiteral("Are you sure you want to reset the Tally?")});
    EXPECT_EQ(store.myGames(), QStringLiteral("1"));

    MessageBox::setNextAnswer(QMessageBox::Yes);
    QTest::mouseClick(reset, Qt::LeftButton);
    EXPECT_TRUE(store.tallied().isEmpty());
    EXPECT_TRUE(entries("listbox_tally").isEmpty());
    EXPECT_EQ(entries("checklist"), (QStringList{"Dot", "Bob"}));
    EXPECT_EQ(text("mylabel_1"), QStringLiteral("0"));
    EXPECT_EQ(shownRecord(), QStringList(8, QStringLiteral("0")));
    EXPECT_EQ(edited.count(), 1);
}

} // namespace
