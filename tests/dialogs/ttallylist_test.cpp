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

const QString kMine = QString::fromLatin1(TallyStore::kAddToMine);

/// The dialog over a store, with its questions answered by the test.
class TtallylistTest : public ::testing::Test {
protected:
    TtallylistTest() { MessageBox::clearAnswered(); }
    ~TtallylistTest() override
    {
        MessageBox::setHook({});
        MessageBox::clearAnswered();
    }

    template <typename T = QLabel> T* find(const char* name) const
    {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text(const char* name) const { return find(name)->text(); }
    QListWidget* tallied() const { return find<QListWidget>("listbox_tally"); }
    QListWidget* inGame() const { return find<QListWidget>("checklist"); }
    static QStringList entries(const QListWidget* list, bool checkedOnly = false)
    {
        QStringList names;
        for (int n = 0; n < list->count(); ++n) {
            if (!checkedOnly || list->item(n)->checkState() == Qt::Checked)
                names << list->item(n)->text();
        }
        return names;
    }
    /// The record shown: label_1 .. label_8.
    QStringList shownRecord() const
    {
        QStringList values;
        for (int column = 1; column <= 8; ++column)
            values << dialog.findChild<QLabel*>(QStringLiteral("label_%1").arg(column))->text();
        return values;
    }
    /// Ticks or unticks an entry the way a click on its box does.
    static void tick(QListWidget* list, int row, bool checked)
    {
        list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    /// Answers the next question with @p reply.
    void answer(QMessageBox::StandardButton reply) { MessageBox::setNextAnswer(reply); }

    TallyStore store;
    Ttallylist dialog{store};
};

TEST_F(TtallylistTest, ShowsItsPartsUnderTheirCaptions)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Morlu - Tally List"));
    EXPECT_FALSE(dialog.isModal());
    QStringList captions;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        captions << label->text();
    for (const char* caption :
         {"Players Being Tallied", "Players In Current Game", "Total", "Session", "Number of Games",
          "Your Wins:", "Neither Won:", "Your Total Tally", "Total Games:", "Your Wins"})
        EXPECT_TRUE(captions.contains(QString::fromLatin1(caption))) << caption;
    EXPECT_EQ(find<QPushButton>("button_done")->text(), QStringLiteral("Done"));
    EXPECT_EQ(find<QPushButton>("button_reset")->text(), QStringLiteral("Tally Reset"));
    EXPECT_EQ(text("mylabel_1"), QStringLiteral("0"));
    EXPECT_EQ(text("mylabel_2"), QStringLiteral("0"));
    EXPECT_TRUE(find("mylabel_3")->isHidden());
    EXPECT_TRUE(find("mylabel_4")->isHidden());

    dialog.show();
    QTest::mouseClick(find<QPushButton>("button_done"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TtallylistTest, TickingAPlayerInTheGameStartsHisTallyAndSelectingShowsIt)
{
    QSignalSpy edited(&dialog, &Ttallylist::tallyEdited);
    store.addOpponent(QStringLiteral("Ann"));
    dialog.loadtally();
    dialog.setPlayersInCurrentGame({QStringLiteral("Bob"), QStringLiteral("Ann")});
    EXPECT_EQ(entries(inGame(), true), QStringList{QStringLiteral("Ann")}) << "a tallied name comes ticked";

    tick(inGame(), 0, true);
    EXPECT_EQ(store.tallied(), (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob")}));
    EXPECT_EQ(entries(tallied(), true), store.tallied());
    tick(inGame(), 1, false);
    EXPECT_EQ(entries(inGame(), true), (QStringList{QStringLiteral("Bob"), QStringLiteral("Ann")}))
        << "unticking here deletes nothing: the tick comes back";
    EXPECT_EQ(store.tallied().size(), 2);
    EXPECT_EQ(edited.count(), 1);

    store.addgame(QStringLiteral("Bob"), {QStringLiteral("Ann"), QStringLiteral("Bob")});
    store.addgame(kMine, {QStringLiteral("Bob")});
    dialog.showCounts();
    EXPECT_EQ(text("mylabel_1"), QStringLiteral("2"));
    EXPECT_EQ(text("mylabel_2"), QStringLiteral("1"));
    tallied()->setCurrentRow(1);
    EXPECT_EQ(shownRecord(), (QStringList{"2", "1", "1", "0", "2", "1", "1", "0"}));
    EXPECT_EQ(text("label_hisname"), QStringLiteral("Bob Wins:"));
    EXPECT_EQ(text("label_hisnametop"), QStringLiteral("Bob's Tally"));

    // Counting again shows the selected record again.
    store.addgame(kMine, {QStringLiteral("Bob")});
    dialog.showCounts();
    EXPECT_EQ(shownRecord(), (QStringList{"3", "1", "2", "0", "3", "1", "2", "0"}));
}

TEST_F(TtallylistTest, UntickingATalliedPlayerAsksBeforeDeletingHisRecord)
{
    for (const char* name : {"Ann", "Bob", "Cid"})
        store.addOpponent(QString::fromLatin1(name));
    store.addgame(QStringLiteral("Cid"), {QStringLiteral("Cid")});
    dialog.loadtally();
    dialog.setPlayersInCurrentGame({QStringLiteral("Bob")});
    QSignalSpy edited(&dialog, &Ttallylist::tallyEdited);

    answer(QMessageBox::No);
    tick(tallied(), 1, false);
    EXPECT_EQ(MessageBox::answered(),
              QStringList{QStringLiteral("This will delete Bob's Tally, Are you want to delete it?")});
    EXPECT_EQ(entries(tallied(), true), (QStringList{"Ann", "Bob", "Cid"})) << "No ticks the entry again";
    EXPECT_EQ(store.tallied().size(), 3);

    answer(QMessageBox::Yes);
    tick(tallied(), 1, false);
    EXPECT_EQ(store.tallied(), (QStringList{"Ann", "Cid"}));
    EXPECT_EQ(entries(tallied()), store.tallied());
    EXPECT_EQ(entries(inGame(), true), QStringList()) << "Bob, still at the table, is no longer tallied";
    tallied()->setCurrentRow(1);
    EXPECT_EQ(shownRecord(), (QStringList{"1", "1", "0", "0", "1", "1", "0", "0"})) << "Cid moved up with his counts";
    EXPECT_EQ(edited.count(), 1);
}

TEST_F(TtallylistTest, ResetErasesEverythingOnlyAfterYes)
{
    store.addOpponent(QStringLiteral("Ann"));
    store.addgame(kMine, {QStringLiteral("Ann")});
    dialog.loadtally();
    dialog.setPlayersInCurrentGame({QStringLiteral("Ann")});
    tallied()->setCurrentRow(0);
    QSignalSpy edited(&dialog, &Ttallylist::tallyEdited);

    answer(QMessageBox::No);
    QTest::mouseClick(find<QPushButton>("button_reset"), Qt::LeftButton);
    EXPECT_EQ(MessageBox::answered(), QStringList{QStringLiteral("Are you sure you want to reset the Tally?")});
    EXPECT_EQ(store.myGames(), QStringLiteral("1"));

    answer(QMessageBox::Yes);
    dialog.button_resetClick();
    EXPECT_TRUE(store.tallied().isEmpty());
    EXPECT_EQ(tallied()->count(), 0);
    EXPECT_EQ(text("mylabel_1"), QStringLiteral("0"));
    EXPECT_EQ(text("mylabel_2"), QStringLiteral("0"));
    EXPECT_EQ(shownRecord(), QStringList(8, QStringLiteral("0")));
    EXPECT_EQ(entries(inGame(), true), QStringList());
    EXPECT_EQ(edited.count(), 1);
}

} // namespace
