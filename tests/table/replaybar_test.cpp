#include "replaybar.h"

#include "printers.h"
#include "replayrig.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace morlu::test;

/// Counts the keys that reach it, leaving out the modifiers pressed on their own.
class KeyedWidget : public QWidget {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Control && event->key() != Qt::Key_Alt)
            ++keys;
    }
};

// The key map, pressed on a watched widget: each key moves to its place, plays, pauses or changes the
// speed, and the bar shows the position; keys that are not the replay's go on to the widget.
TEST(ReplayBar, KeysMoveThroughTheRecord)
{
    struct Row {
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int to;
        bool taken;
        QString shown;
    };
    const Row rows[] = {
        {3, Qt::Key_Right, Qt::NoModifier, 4, true, "Line 4 of 16 - round 1"},
        {3, Qt::Key_Left, Qt::NoModifier, 2, true, "Line 2 of 16 - round 1"},
        {6, Qt::Key_Right, Qt::ControlModifier, 9, true, "Line 9 of 16 - round 1 - trick 2"},
        {6, Qt::Key_Left, Qt::ControlModifier, 5, true, "Line 5 of 16 - round 1 - trick 1"},
        {6, Qt::Key_Down, Qt::NoModifier, 9, true, "Line 9 of 16 - round 1 - trick 2"},
        {9, Qt::Key_Up, Qt::NoModifier, 5, true, "Line 5 of 16 - round 1 - trick 1"},
        {3, Qt::Key_PageDown, Qt::NoModifier, 12, true, "Line 12 of 16 - round 2"},
        {13, Qt::Key_PageUp, Qt::NoModifier, 12, true, "Line 12 of 16 - round 2"},
        {7, Qt::Key_Home, Qt::NoModifier, 0, true, "Line 0 of 16"},
        {7, Qt::Key_End, Qt::NoModifier, 16, true, "Line 16 of 16 - round 2 - trick 1"},
        // The board's own keys and the menus' shortcuts are not the bar's.
        {7, Qt::Key_3, Qt::NoModifier, 7, false, "Line 7 of 16 - round 1 - trick 1"},
        {7, Qt::Key_Right, Qt::AltModifier, 7, false, "Line 7 of 16 - round 1 - trick 1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.from << " key " << row.key);
        Rig rig;
        ReplayBar bar(rig.controller);
        KeyedWidget board;
        bar.watchKeys(&board);
        rig.controller.seek(row.from);
        QTest::keyClick(&board, row.key, row.modifiers);
        EXPECT_EQ(board.keys == 0, row.taken);
        EXPECT_EQ(rig.controller.position(), row.to);
        EXPECT_EQ(bar.findChild<QLabel*>("label_position")->text(), row.shown);
        EXPECT_EQ(bar.findChild<QSlider*>("slider_position")->value(), row.to);
    }

    // Space plays and pauses (the button says which comes next); + and - change the speed within its range.
    Rig rig;
    ReplayBar bar(rig.controller);
    auto* play = bar.findChild<QPushButton*>("button_play");
    EXPECT_TRUE(bar.press(Qt::Key_Space));
    EXPECT_TRUE(rig.controller.playing());
    EXPECT_EQ(play->text(), "Pause");
    EXPECT_TRUE(bar.press(Qt::Key_Space));
    EXPECT_FALSE(rig.controller.playing());
    EXPECT_EQ(play->text(), "Play");
    for (int n = 0; n < 6; ++n)
        bar.press(Qt::Key_Plus);
    EXPECT_EQ(rig.controller.speed(), 8.0);
    for (int n = 0; n < 6; ++n)
        bar.press(Qt::Key_Minus);
    EXPECT_EQ(rig.controller.speed(), 0.5);
}

} // namespace
