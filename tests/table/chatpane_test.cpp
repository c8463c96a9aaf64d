#include "chatpane.h"

#include "chatview.h"
#include "fieldreader.h"
#include "printers.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

/// A chat pane in an area of its own, its handlers registered on a dispatch table.
class ChatPaneTest : public ::testing::Test {
protected:
    ChatPaneTest() { pane.registerOn(commands); }

    /// The lines of the view, without the blanks each piece ends with.
    QStringList lines() const
    {
        QStringList lines = pane.mainchat().toPlainText().split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = line.trimmed();
        lines.removeAll(QString());
        return lines;
    }

    QWidget area;
    ChatPane pane{&area};
    morlu::Dispatcher<> commands;
};

TEST_F(ChatPaneTest, LiesInTheAreaItIsGiven)
{
    EXPECT_EQ(pane.mainchat().parentWidget(), &area);
    EXPECT_EQ(pane.mainchat().objectName(), QStringLiteral("mainchat"));
    EXPECT_EQ(pane.mainchat().pos(), QPoint(23, 0));
}

TEST_F(ChatPaneTest, SystemLinesAreBlue)
{
    pane.systemLine(QStringLiteral("You are Connected."));
    EXPECT_EQ(lines(), QStringList{QStringLiteral("You are Connected.")});
    EXPECT_EQ(pane.mainchat().styleColour(0), QColor(0, 0, 255));
}

TEST_F(ChatPaneTest, RelayedChatIsDrawnInTheSendersColourOrRed)
{
    for (const char* line : {"CMD_chat+3+Bob chats: hi there|clGreen", "CMD_action+4+ Cid waves|$00FF0000",
                             "CMD_chat+3+Bob chats: no colour", "CMD_chat+3+Bob chats: a|b|clLime"})
        EXPECT_TRUE(commands.dispatch(line)) << line;
    // A "|" inside the text stays in the text; the colour is what follows the last one.
    EXPECT_EQ(pane.mainchat().styleColour(3), QColor(0, 255, 0));
    commands.dispatch("CMD_chat+3+Bob chats: c|nocolour");
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("Bob chats:  hi there"), QStringLiteral("Cid waves"),
                                    QStringLiteral("Bob chats:  no colour"), QStringLiteral("Bob chats:  a|b"),
                                    QStringLiteral("Bob chats:  c")}));
    const QTextBlock cid = pane.mainchat().document()->findBlockByNumber(1);
    EXPECT_EQ(cid.begin().fragment().charFormat().foreground().color(), QColor(0, 0, 255));
    // Bob's last line had an unreadable colour: all his lines are red now.
    EXPECT_EQ(pane.mainchat().styleColour(3), QColor(255, 0, 0));
}

TEST_F(ChatPaneTest, ChatterSoundsAreReportedWithTheSendersSeat)
{
    QSignalSpy chatter(&pane, &ChatPane::chatterSoundReceived);
    commands.dispatch("CMD_playasound+3+wave3+");
    ASSERT_EQ(chatter.count(), 1);
    EXPECT_EQ(chatter.at(0).at(0).toInt(), 3);
    EXPECT_EQ(chatter.at(0).at(1).toString(), QStringLiteral("wave3"));
    EXPECT_THROW(commands.dispatch("CMD_playasound+x+wave3+"), morlu::FieldError);
    EXPECT_EQ(chatter.count(), 1);
}

} // namespace
