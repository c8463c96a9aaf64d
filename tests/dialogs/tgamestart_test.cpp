#include "tgamestart.h"

#include "printers.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

QPixmap picture(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::darkGreen);
    return pixmap;
}

class TgamestartTest : public ::testing::Test {
protected:
    TgamestartTest() : dialog(picture(17, 16), picture(68, 42), picture(32, 32)) {}

    QLabel* label(const char* name) const
    {
        auto* found = dialog.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QList<bool> marks() const
    {
        return {!label("image_check1")->isHidden(), !label("image_Check2")->isHidden(),
                !label("image_check3")->isHidden()};
    }
    /// Presses start the way the player does and returns the letters reported.
    QStringList pressStart()
    {
        QSignalSpy started(&dialog, &Tgamestart::startRequested);
        QTest::mouseClick(label("button_startgame"), Qt::LeftButton);
        QStringList letters;
        for (const QList<QVariant>& call : started)
            letters << call.at(0).toString();
        return letters;
    }

    Tgamestart dialog;
};

TEST_F(TgamestartTest, ShowsTheThreeLengthsWithTheirTextsAndTheFullGameMarked)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Game Start"));
    EXPECT_EQ(dialog.size(), QSize(198, 264));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(label("label_title")->text(), QStringLiteral("Game Option"));
    EXPECT_EQ(label("button_startgame")->geometry(), QRect(122, 218, 68, 42));
    EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("panel_options"))->geometry(), QRect(8, 29, 183, 180));

    struct Option {
        const char* title;
        const char* description;
        int top;
        int descriptionLeft;
    };
    const Option options[] = {
        {"Short Game", "Only two rotations are played for a total of 8 contracts. ", 4, 30},
        {"Half Game", "Four rotations are are played for a total of 16 contracts.", 60, 28},
        {"Full Game", "Six rotations are played for a total of 24 contracts.", 116, 28},
    };
    const char* checks[] = {"image_check1", "image_Check2", "image_check3"};
    for (int n = 1; n <= 3; ++n) {
        const Option& o = options[n - 1];
        QLabel* title = label(qPrintable(QStringLiteral("label_option%1").arg(n)));
        QLabel* description = label(qPrintable(QStringLiteral("label_descrip%1").arg(n)));
        EXPECT_EQ(title->text(), QString::fromLatin1(o.title));
        EXPECT_EQ(title->geometry(), QRect(30, o.top, 128, 19));
        EXPECT_EQ(title->property("tag").toInt(), n);
        EXPECT_EQ(description->text(), QString::fromLatin1(o.description));
        EXPECT_EQ(description->x(), o.descriptionLeft);
        EXPECT_EQ(description->property("tag").toInt(), n);
        EXPECT_EQ(label(checks[n - 1])->geometry(), QRect(5, o.top, 17, 16));
    }
    EXPECT_EQ(marks(), (QList<bool>{false, false, true}));
}

TEST_F(TgamestartTest, StartingAtOnceAsksForAFullGameAndHidesTheDialog)
{
    dialog.show();
    EXPECT_EQ(pressStart(), QStringList{QStringLiteral("l")});
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TgamestartTest, ClickingATitleOrDescriptionMarksThatOptionOnly)
{
    dialog.show();
    QTest::mouseClick(label("label_descrip1"), Qt::LeftButton);
    EXPECT_EQ(marks(), (QList<bool>{true, false, false}));
    EXPECT_EQ(pressStart(), QStringList{QStringLiteral("s")});

    dialog.show();
    QTest::mouseClick(label("label_option2"), Qt::LeftButton);
    EXPECT_EQ(marks(), (QList<bool>{false, true, false}));
    EXPECT_EQ(dialog.letter(), QStringLiteral("h"));
}

TEST_F(TgamestartTest, TheMarkCarriesOverFromOneOpeningToTheNext)
{
    dialog.showCentredOn(nullptr);
    dialog.label_descrip3Click(2);
    EXPECT_EQ(pressStart(), QStringList{QStringLiteral("h")});
    dialog.showCentredOn(nullptr);
    EXPECT_EQ(marks(), (QList<bool>{false, true, false}));
    EXPECT_EQ(pressStart(), QStringList{QStringLiteral("h")});
}

TEST_F(TgamestartTest, ClickingTheMarkedOptionChangesNothing)
{
    dialog.show();
    QTest::mouseClick(label("label_descrip3"), Qt::LeftButton);
    EXPECT_EQ(marks(), (QList<bool>{false, false, true}));
    dialog.label_descrip3Click(7);
    EXPECT_EQ(marks(), (QList<bool>{false, false, true}));
}

TEST_F(TgamestartTest, ARightClickOrClosingSendsNothing)
{
    dialog.show();
    QSignalSpy started(&dialog, &Tgamestart::startRequested);
    QTest::mouseClick(label("button_startgame"), Qt::RightButton);
    QTest::mouseClick(label("label_option1"), Qt::RightButton);
    dialog.close();
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(marks(), (QList<bool>{false, false, true}));
}

TEST_F(TgamestartTest, OpensCentredOnTheWindow)
{
    QWidget window;
    window.setGeometry(100, 80, 789, 595);
    window.show();
    dialog.showCentredOn(&window);
    EXPECT_TRUE(dialog.isVisible());
    const QPoint centre = dialog.frameGeometry().center();
    EXPECT_LE((centre - window.frameGeometry().center()).manhattanLength(), 40);
}

// The length is picked and the game started with the keyboard alone; Esc closes without a start.
TEST_F(TgamestartTest, KeysPickTheLengthAndEnterStarts)
{
    struct Row {
        const char* name;
        std::vector<int> keys;
        QStringList letters;
    };
    const std::vector<Row> rows = {
        {"Enter at once", {Qt::Key_Return}, {QStringLiteral("l")}},
        {"up twice", {Qt::Key_Up, Qt::Key_Up, Qt::Key_Enter}, {QStringLiteral("s")}},
        {"left stops at the first",
         {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Down, Qt::Key_Return},
         {QStringLiteral("h")}},
        {"letters", {Qt::Key_S, Qt::Key_H, Qt::Key_Return}, {QStringLiteral("h")}},
        {"f for the full game", {Qt::Key_S, Qt::Key_F, Qt::Key_Return}, {QStringLiteral("l")}},
        {"Esc", {Qt::Key_S, Qt::Key_Escape}, {}},
    };
    for (const Row& row : rows) {
        dialog.label_descrip3Click(3);
        dialog.show();
        QSignalSpy started(&dialog, &Tgamestart::startRequested);
        for (const int key : row.keys)
            QTest::keyClick(&dialog, Qt::Key(key));
        QStringList letters;
        for (const QList<QVariant>& call : started)
            letters << call.at(0).toString();
        EXPECT_EQ(letters, row.letters) << row.name;
        EXPECT_TRUE(dialog.isHidden()) << row.name;
        // The dotted frame stands around the marked option.
        const QWidget* frame = dialog.findChild<QWidget*>(QStringLiteral("frame_focus"));
        const QLabel* check = label(dialog.markedOption() == 1   ? "image_check1"
                                    : dialog.markedOption() == 2 ? "image_Check2"
                                                                 : "image_check3");
        EXPECT_TRUE(frame->geometry().contains(check->geometry())) << row.name;
    }
}

} // namespace
