#include "tphrases.h"

#include "printers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TphrasesTest : public ::testing::Test {
protected:
    TphrasesTest()
    {
        for (int n = 1; n <= 9; ++n)
            phrases << QStringLiteral("Phrase %1").arg(n);
    }
    QLineEdit* edit(int n) const { return dialog.findChild<QLineEdit*>(QStringLiteral("phrase%1").arg(n)); }

    Tphrases dialog{QPixmap()};
    QStringList phrases;
};

TEST_F(TphrasesTest, OpensWithTheButtonsPhrasesAndDoneReportsAllNine)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Morlu - Phrase Buttons "));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("label_phrase9"))->text(), QStringLiteral("Phrase Button 9:"));
    const QString longer(70, QLatin1Char('x'));
    phrases[4] = longer;
    dialog.PrhaseList1Click(phrases, nullptr);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(edit(5)->text(), longer) << "a longer stored phrase is shown whole";

    edit(2)->clear();
    QTest::keyClicks(edit(3), QStringLiteral("!"));
    QSignalSpy done(&dialog, &Tphrases::phrasesChosen);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("button_done")), Qt::LeftButton);
    ASSERT_EQ(done.count(), 1);
    QStringList expected = phrases;
    expected[1] = QString();
    expected[2] += QLatin1Char('!');
    EXPECT_EQ(done.at(0).at(0).toStringList(), expected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TphrasesTest, TheCloseBoxDropsTheEditsAndTypingStopsAtFiftyCharacters)
{
    dialog.PrhaseList1Click(phrases, nullptr);
    QSignalSpy done(&dialog, &Tphrases::phrasesChosen);
    edit(1)->clear();
    QTest::keyClicks(edit(1), QString(60, QLatin1Char('a')));
    EXPECT_EQ(edit(1)->text(), QString(50, QLatin1Char('a')));
    dialog.close();
    EXPECT_EQ(done.count(), 0);
    dialog.PrhaseList1Click(phrases, nullptr);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("Phrase 1"));
}

} // namespace
