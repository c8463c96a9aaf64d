#include "artpicture.h"
#include "board.h"
#include "chatview.h"
#include "fitlabel.h"
#include "logcapture.h"
#include "printers.h"
#include "seatcontrols.h"
#include "tchat.h"
#include "tchatfixture.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace morlu;
using namespace morlu::test;

namespace {

QString nameOf(Tchat& table, int seat)
{
    return table.board().seatName(seat);
}

TEST_F(TchatSession, LoginAnswersWithTheSlotTheVersionAndTheName)
{
    hostSays({QStringLiteral("CMD_sendlogininfo+3")});
    EXPECT_EQ(table->state().myseat, 3);
    EXPECT_TRUE(table->state().connected);
    EXPECT_EQ(sent.lines(),
              (QStringList{QStringLiteral("CMD_logininfo+3+1.0.5+Ann"), QStringLiteral("CMD_seatkey+3+")}));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !host.receivedLines().isEmpty(); }, kWait));
    EXPECT_EQ(host.receivedLines().first(), QByteArray("CMD_logininfo+3+1.0.5+Ann"));
}

TEST_F(TchatSession, ArrivalsWriteOneLineEachFillTheSeatsAndListTheSpectators)
{
    login(3);
    hostSays({QStringLiteral("CMD_existingplayers+1+Hosty"), QStringLiteral("CMD_existingplayers+6+Zed"),
              QStringLiteral("CMD_newplayerinfo+2+Bob")});
    EXPECT_EQ(chatLines(*table),
              (QStringList{kMulti, QStringLiteral("You are Connected."),
                           QStringLiteral("Press Ctrl-i for quick instructions."),
                           QStringLiteral("Hosty is Connected."), QStringLiteral("Zed is Connected."),
                           QStringLiteral("Zed is spying."), QStringLiteral("Bob is Connected.")}));
    EXPECT_EQ(nameOf(*table, 1), QStringLiteral("Hosty"));
    EXPECT_EQ(nameOf(*table, 2), QStringLiteral("Bob"));
    EXPECT_EQ(nameOf(*table, 3), QStringLiteral("Ann"));
    EXPECT_EQ(table->spys(), QStringList{QStringLiteral("6: Zed")});
    EXPECT_EQ(soundCount(QStringLiteral("entered")), 4);
    EXPECT_FALSE(sent.any(QStringLiteral("CMD_botspeed")));
}

TEST_F(TchatSession, TheHostsTableTellsTheBotSpeedAtEveryArrival)
{
    table->setChosenbotspeed(500);
    login(1);
    hostSays({QStringLiteral("CMD_newplayerinfo+2+Bob"), QStringLiteral("CMD_newplayerinfo+7+Eve")});
    // Reading the settings at the own login tells the speed, the computer players' level and the leave for
    // hints first.
    EXPECT_EQ(sent.lines(),
              (QStringList{QStringLiteral("CMD_logininfo+1+1.0.5+Ann"), QStringLiteral("CMD_seatkey+1+"),
                           QStringLiteral("CMD_botspeed+1+500+"), QStringLiteral("CMD_botlevel+1+classic+"),
                           QStringLiteral("CMD_botlevel+2+classic+"), QStringLiteral("CMD_botlevel+3+classic+"),
                           QStringLiteral("CMD_botlevel+4+classic+"), QStringLiteral("CMD_allowhints+f+"),
                           QStringLiteral("CMD_botspeed+1+500+"), QStringLiteral("CMD_botspeed+1+500+"),
                           QStringLiteral("CMD_botspeed+1+500+")}));
}

// In a larger window the chat text grows with the board, taking the same share of the chat's width; a
// name of 40 characters (the most the host takes) is cut with an ellipsis inside its name box at every
// size, and the tooltip and what a screen reader says keep it whole.
TEST_F(TchatSession, ChatTextAndLongNamesFollowTheWindowSize)
{
    const QString name = QStringLiteral("Wolfgang Amadeus Theophilus Mozartovitch");
    ASSERT_EQ(name.size(), 40);
    login(3);
    hostSays({QStringLiteral("CMD_newplayerinfo+2+") + name, QStringLiteral("CMD_chat+2+Bob chats: hello|clBlack")});
    const QString sample = QStringLiteral("Bob chats: hello there");
    qreal share = 0;
    for (const QSize window : {QSize(789, 595), QSize(1500, 1050)}) {
        SCOPED_TRACE(window.width());
        table->resize(window);
        table->show();
        QCoreApplication::processEvents();
        Board& board = table->board();
        EXPECT_EQ(board.scale() > 1.5, window.width() > 1000) << board.scale();

        // The chat's text, in the font the last line is drawn in, against the chat's width.
        QTextCursor end(table->mainchat().document());
        end.movePosition(QTextCursor::End);
        const QFont drawn = end.charFormat().font();
        const qreal now = QFontMetricsF(drawn).horizontalAdvance(sample) / table->mainchat().width();
        if (share == 0)
            share = now;
        EXPECT_NEAR(now / share, 1.0, 0.12) << drawn.pointSize();
        EXPECT_GE(drawn.pointSize(), table->mainchat().textSize());

        const FitLabel* label = board.nameLabel(2);
        EXPECT_EQ(board.seatName(2), name);
        EXPECT_TRUE(label->isElided());
        EXPECT_TRUE(label->shownText().endsWith(QChar(0x2026))) << qPrintable(label->shownText());
        EXPECT_TRUE(label->contentsRect().contains(label->textRect()));
        EXPECT_EQ(label->toolTip(), name);
        const QString spoken =
            QAccessible::queryAccessibleInterface(const_cast<FitLabel*>(label))->text(QAccessible::Name);
        EXPECT_TRUE(spoken.startsWith(name)) << qPrintable(spoken);
    }
}

TEST_F(TchatSession, ASpectatorsOwnLoginSaysItIsSpying)
{
    login(5);
    EXPECT_EQ(chatLines(*table),
              (QStringList{kMulti, QStringLiteral("You are Connected."),
                           QStringLiteral("Press Ctrl-i for quick instructions."), QStringLiteral("You are spying.")}));
    EXPECT_EQ(table->spys(), QStringList{QStringLiteral("5: Ann")});
}

TEST_F(TchatSession, DeparturesGiveTheSeatBackToItsComputerPlayer)
{
    login(4);
    hostSays({QStringLiteral("CMD_existingplayers+1+Hosty"), QStringLiteral("CMD_existingplayers+3+Bob"),
              QStringLiteral("CMD_existingplayers+6+Zed")});
    table->board().setEyesShown(3, true);
    const int before = int(chatLines(*table).size());
    hostSays({QStringLiteral("CMD_playerdisconnected+3+Bob"), QStringLiteral("CMD_playerdisconnected+1+Hosty"),
              QStringLiteral("CMD_playerdisconnected+3+Bob"), QStringLiteral("CMD_playerdisconnected+6+Zed"),
              QStringLiteral("CMD_playerdisconnected+6+Zed"), QStringLiteral("CMD_playerdisconnected+8+Nobody")});
    EXPECT_EQ(chatLines(*table).mid(before),
              (QStringList{QStringLiteral("Bob disconnected."), QStringLiteral("Hosty disconnected."),
                           QStringLiteral("Zed has left.")}));
    EXPECT_EQ(nameOf(*table, 3), QStringLiteral("Klock"));
    EXPECT_EQ(nameOf(*table, 1), QString());
    EXPECT_FALSE(table->board().eyes(3)->isVisibleTo(&table->board()));
    EXPECT_TRUE(table->spys().isEmpty());
}

// The host player's table reads the departure of a table it removed, from a seat or the spy list, as a
// removal, though a host tells that only to tables that asked for their seat keys.
TEST_F(TchatSession, TheHostPlayersRemovalReadsAsARemoval)
{
    const struct {
        int slot;
        const char* name;
    } rows[] = {{3, "Bob"}, {6, "Zed"}};
    login(1);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.slot);
        const QString name = QString::fromLatin1(row.name);
        hostSays({QStringLiteral("CMD_existingplayers+%1+%2").arg(row.slot).arg(name)});
        table->seatControls().kicking(row.slot);
        EXPECT_TRUE(sent.lines().contains(QStringLiteral("CMD_kickhim+1+%1+").arg(row.slot)));
        const int before = int(chatLines(*table).size());
        hostSays({QStringLiteral("CMD_playerdisconnected+%1+%2").arg(row.slot).arg(name)});
        EXPECT_EQ(chatLines(*table).mid(before), QStringList{name + QStringLiteral(" has been removed from the game.")});
    }
}

TEST_F(TchatSession, VersionWarningsAreSystemLines)
{
    login(1);
    hostSays({QStringLiteral("CMD_havewrongversion+Bob"), QStringLiteral("CMD_wrongversion+")});
    EXPECT_EQ(linesAfterLogin(),
              (QStringList{QStringLiteral("Bob has a different version of the game then you."),
                           QStringLiteral("You have a differnt version of the game then the host.")}));
}

TEST_F(TchatSession, MalformedLinesAreDroppedAndLoggedWithoutABox)
{
    MessageBoxes boxes;
    LogCapture log;
    login(2);
    hostSays({QStringLiteral("CMD_newplayerinfo+x+Bob"), QStringLiteral("CMD_chat+y+Bob chats: hi|clRed"),
              QStringLiteral("CMD_placecard+1+q+1+t+"), QStringLiteral("CMD_nobody+1"),
              QStringLiteral("CMD_newplayerinfo+3+Cid")});
    EXPECT_EQ(linesAfterLogin(), QStringList{QStringLiteral("Cid is Connected.")});
    EXPECT_TRUE(log.warnings.contains(QStringLiteral("'x' is not a valid integer value")));
    EXPECT_TRUE(log.warnings.contains(QStringLiteral("'y' is not a valid integer value")));
    EXPECT_TRUE(log.warnings.contains(QStringLiteral("'q' is not a valid integer value")));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(TchatSession, ChatterSoundsAndGameSoundsAreReportedNotPlayed)
{
    QSignalSpy chatter(table.get(), &Tchat::chatterSoundReceived);
    login(2);
    hostSays({QStringLiteral("CMD_playasound+3+wave3+")});
    ASSERT_EQ(chatter.count(), 1);
    EXPECT_EQ(chatter.at(0).at(0).toInt(), 3);
    EXPECT_EQ(chatter.at(0).at(1).toString(), QStringLiteral("wave3"));
}

} // namespace
