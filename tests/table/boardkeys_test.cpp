#include "boardkeys.h"

#include "cardplace.h"
#include "instructionspanel.h"
#include "printers.h"
#include "tablefixture.h"
#include "titledpanel.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using morlu::test::TableFixture;

class BoardKeysTest : public TableFixture {
protected:
    void SetUp() override
    {
        board.show();
        QApplication::setActiveWindow(&board);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&board));
        board.setFocus();
        // The window's hint requester decides whether to ask; here the key's request is recorded as it is.
        keys.setHintRequest([this] { host.sendline("CMD_hint+1+\xFF"); });
    }
    /// Presses @p key where the keyboard is now: the focused card, or the board.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &board;
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    BoardKeys keys{board, input};
};

// Keys in, requests out: the same requests a click makes, and only when a click would make them.
TEST_F(BoardKeysTest, KeysMakeTheRequestsOfTheirClicks)
{
    struct Row {
        const char* name;
        std::function<void()> setup;
        std::vector<int> keys;
        std::vector<std::string> sent;
    };
    const auto ownTurn = [this] {
        openRound(2);
        round.getnextplayer("1+");
    };
    const std::vector<Row> rows = {
        {"a digit plays that card of the hand", ownTurn, {Qt::Key_4}, {"CMD_playcard+1+4+\xFF"}},
        {"digits count the cards still held",
         [this, ownTurn] {
             ownTurn();
             game.placecard("1+5+2+t+");
             round.getnextplayer("1+");
         },
         {Qt::Key_2},
         {"CMD_playcard+1+3+\xFF"}},
        {"a digit past the last card does nothing",
         [this, ownTurn] {
             ownTurn();
             game.placecard("1+5+2+t+");
             round.getnextplayer("1+");
         },
         {Qt::Key_8},
         {}},
        {"Right moves along the hand, Enter plays",
         ownTurn,
         {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return},
         {"CMD_playcard+1+2+\xFF"}},
        {"Left from nowhere starts at the end, Space plays",
         ownTurn,
         {Qt::Key_Left, Qt::Key_Left, Qt::Key_Space},
         {"CMD_playcard+1+7+\xFF"}},
        {"another seat's turn sends nothing",
         [this] {
             openRound(2);
             round.getnextplayer("3+");
         },
         {Qt::Key_1, Qt::Key_Right, Qt::Key_Return},
         {}},
        {"H asks for a hint", ownTurn, {Qt::Key_H}, {"CMD_hint+1+\xFF"}},
        {"digits choose contracts while choosing", [this] { openRound(1); }, {Qt::Key_5}, {"CMD_choosetype+1+5+\xFF"}},
        {"a used contract is not chosen",
         [this] {
             state.myseat = 1;
             round.startthegame("You+s+");
             round.startround("1+1+");
         },
         {Qt::Key_2, Qt::Key_7, Qt::Key_6},
         {"CMD_choosetype+1+6+\xFF"}},
    };
    for (const Row& row : rows) {
        host.sent.clear();
        board.setFocus();
        row.setup();
        for (const int key : row.keys)
            press(key);
        EXPECT_EQ(host.sent, row.sent) << row.name;
    }
    // Keys with Ctrl or Alt belong to the menus.
    host.sent.clear();
    ownTurn();
    board.setFocus();
    press(Qt::Key_1, Qt::ControlModifier);
    press(Qt::Key_1, Qt::AltModifier);
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(host.sent.empty());
}

// Esc closes what covers the board, the nearest first, and leaves the contract chooser alone.
TEST_F(BoardKeysTest, EscClosesThePanelsOneByOne)
{
    openRound(1);
    round.alreadychoose("1+3+");
    input.QuickInstructions1Click();
    Board::showInFront(board.winnerPanel());
    const char* closed[] = {"panel_instructions", "panel_error", "panel_winner"};
    for (const char* name : closed) {
        ASSERT_TRUE(shown(name)) << name;
        press(Qt::Key_Escape);
        EXPECT_FALSE(shown(name)) << name;
    }
    press(Qt::Key_Escape);
    EXPECT_TRUE(shown("panel_choosen"));

    // From a text entry on the board, Esc brings the keys back to the board.
    auto* entry = new QLineEdit(board.chatArea());
    entry->show();
    entry->setFocus();
    ASSERT_TRUE(entry->hasFocus());
    press(Qt::Key_Escape);
    EXPECT_TRUE(board.hasFocus());
}

} // namespace
