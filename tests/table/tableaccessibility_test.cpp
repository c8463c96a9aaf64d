#include "tableaccessibility.h"

#include "artpicture.h"
#include "cardplace.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "printers.h"
#include "tablefixture.h"
#include "waituntil.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using morlu::test::TableFixture;

class TableAccessibilityTest : public TableFixture {
protected:
    TableAccessibilityTest()
    {
        access.setEventSink([this](QAccessibleEvent* event) {
            if (event->type() == QAccessible::Alert && event->accessibleInterface())
                alerts << event->accessibleInterface()->text(QAccessible::Name);
        });
        access.setLinesWaiting([this] { return waiting; });
    }
    QString nameOf(QWidget* widget) const
    {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }
    QString descriptionOf(QWidget* widget) const
    {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    }
    /// Handles @p lines as the dispatcher does, with a refresh after each.
    void hostSays(const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines) {
            commands.dispatch(line);
            access.refresh();
        }
    }

    /// Handles @p lines as the window does when they arrived together: each announced, the names left for later.
    void hostSaysAtOnce(const std::vector<std::string>& lines)
    {
        waiting = lines.size();
        for (const std::string& line : lines) {
            --waiting;
            commands.dispatch(line);
            access.lineHandled();
        }
    }
    /// Seats a screen reader hears described as on turn.
    QList<int> describedOnTurn() const
    {
        QList<int> seats;
        for (int seat = 1; seat <= 4; ++seat)
            if (nameOf(board.nameLabel(seat)).endsWith(QStringLiteral(", on turn")))
                seats << seat;
        return seats;
    }

    TableAccessibility access{board, state, display.model()};
    QStringList alerts;
    std::size_t waiting = 0;
};

// Seat strips, cards, contract entries and buttons say what they show and what they are for.
TEST_F(TableAccessibilityTest, EverythingThePlayerActsOnHasANameAndADescription)
{
    openRound(2);
    hostSays({"CMD_scores+1+10000+0+2+9600+-400+3+10000+0+4+10400+400", "CMD_nextplayer+2+"});
    struct Row {
        QWidget* widget;
        QString name;
        QString description;
    };
    const Row rows[] = {
        {board.nameLabel(2), QStringLiteral("Klot, $9,600, last change -400, director, on turn"),
         QStringLiteral("Seat 2")},
        {board.nameLabel(1), QStringLiteral("You, $10,000"), QStringLiteral("Seat 1, your seat")},
        {board.handPlace(6), QStringLiteral("King of Hearts"),
         QStringLiteral("Card 6 of your hand; press 6, or Enter when it has the focus, to play it")},
        {board.chooser()->titleLabel(1), QStringLiteral("Morlu"),
         QStringLiteral("Player pays you $800 for taking the King of Hearts. Press 1 to choose it.")},
        {board.startButton(), QStringLiteral("Start"), QStringLiteral("Start a new game (Ctrl+N)")},
        {board.playedCard(3), QStringLiteral("No card"), QString()},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(nameOf(row.widget), row.name) << qPrintable(row.widget->objectName());
        EXPECT_EQ(descriptionOf(row.widget), row.description) << qPrintable(row.widget->objectName());
    }
    hostSays({"CMD_handsused+1+1+"});
    EXPECT_TRUE(descriptionOf(board.chooser()->titleLabel(1)).endsWith(QStringLiteral("Already used.")));
}

// The turn, the trick taken and the winner are announced once each, when they happen.
TEST_F(TableAccessibilityTest, TurnsTricksAndTheWinnerAreAnnounced)
{
    openRound(2);
    hostSays({"CMD_choosehand+2+2+0+", "CMD_starthand+", "CMD_nextplayer+2+", "CMD_placecard+2+14+3+t+",
              "CMD_nextplayer+3+", "CMD_placecard+3+13+3+f+", "CMD_nextplayer+4+", "CMD_placecard+4+10+1+f+",
              "CMD_nextplayer+1+", "CMD_placecard+1+9+3+f+", "CMD_endhand+2+", "CMD_took+2+2+t+f+", "CMD_winner+You+"});
    EXPECT_EQ(alerts,
              (QStringList{QStringLiteral("Klot's turn."), QStringLiteral("Klock's turn."),
                           QStringLiteral("Kling's turn."), QStringLiteral("Your Turn."),
                           QStringLiteral("Klot has taken the trick."), QStringLiteral("You have Won the Game!")}));
}

// A contract choice is announced as a turn is: the own one says what to do.
TEST_F(TableAccessibilityTest, WhoChoosesTheContractIsAnnounced)
{
    hostSays({"CMD_startgame+You+l+", "CMD_startround+1+1+", "CMD_choosehand+1+5+0+", "CMD_startround+2+2+"});
    EXPECT_EQ(alerts,
              (QStringList{QStringLiteral("Choose a CONTRACT."), QStringLiteral("Klot is choosing a CONTRACT.")}));
}

// Losing the host is announced once, and nobody is on turn meanwhile; once back, the turn the host
// names is announced again, even when it is the turn announced before the loss.
TEST_F(TableAccessibilityTest, TheLossOfTheHostAndTheTurnAfterItAreAnnounced)
{
    openRound(2);
    hostSays({"CMD_choosehand+2+2+0+", "CMD_starthand+", "CMD_nextplayer+3+"});
    access.setOffline(true);
    access.setOffline(true);
    hostSays({"CMD_nextplayer+3+"});
    access.setOffline(false);
    EXPECT_EQ(alerts, (QStringList{QStringLiteral("Klock's turn."), QStringLiteral("Reconnecting to the host..."),
                                   QStringLiteral("Klock's turn.")}));
}

// Lines that arrive together are each announced at once, as they would be one at a time, in order; the
// names follow once every line is handled and the event loop is idle, or at once when the host is lost.
TEST_F(TableAccessibilityTest, ABurstOfLinesIsAnnouncedLineByLineAndNamedOnce)
{
    struct Row {
        const char* name;
        std::vector<std::string> lines;
        bool hostLost;
        QStringList alerts;
        QList<int> onTurnBefore; ///< described on turn before the event loop runs
        QList<int> onTurnAfter;
    };
    const std::vector<Row> rows = {
        {"a round opened and two turns",
         {"CMD_choosehand+2+2+0+", "CMD_starthand+", "CMD_nextplayer+2+", "CMD_placecard+2+14+3+t+",
          "CMD_nextplayer+3+"},
         false,
         {QStringLiteral("Klot's turn."), QStringLiteral("Klock's turn.")},
         {},
         {3}},
        {"a turn, then the host is lost",
         {"CMD_placecard+3+13+3+f+", "CMD_nextplayer+4+"},
         true,
         {QStringLiteral("Kling's turn."), QStringLiteral("Reconnecting to the host...")},
         {},
         {}},
    };
    openRound(2);
    access.refresh();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        alerts.clear();
        hostSaysAtOnce(row.lines);
        if (row.hostLost)
            access.setOffline(true);
        EXPECT_EQ(alerts, row.alerts);
        EXPECT_EQ(access.namesPending(), !row.hostLost);
        EXPECT_EQ(describedOnTurn(), row.onTurnBefore);
        EXPECT_TRUE(morlu::test::waitUntil([this] { return !access.namesPending(); }));
        EXPECT_EQ(describedOnTurn(), row.onTurnAfter);
        EXPECT_EQ(alerts, row.alerts);
    }
}

// The DOMINO card counts the board shows and the screen reader says are the model's, however the
// model learnt them: a catch-up that names none, the own hand, the host's layout, a card laid.
TEST_F(TableAccessibilityTest, TheBoardAndTheScreenReaderSayTheModelsCardCounts)
{
    struct Row {
        const char* name;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"a catch-up from a host that sends no layout", {"CMD_agame+1+2+l+3+2+6+3+0+0+4+7+11+"}},
        {"and the own hand", {"CMD_mycards+1+1+2+2+5+3+9+4+12+5+18+6+22+7+30"}},
        {"and the host's layout", {"CMD_dlayout+3+4+15+0+27+7+6+6+7+"}},
        {"a round chosen and a card laid", {"CMD_choosehand+1+6+0+", "CMD_dplacecard+3+1+11+0+3+7+"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        hostSays(row.lines);
        for (int n = 1; n <= 4; ++n) {
            const int held = display.model().seat(n).cardsLeft;
            EXPECT_EQ(board.cardCountLabel(n)->text(), QStringLiteral("CARDS: %1").arg(held)) << "seat " << n;
            EXPECT_TRUE(nameOf(board.nameLabel(n)).endsWith(QStringLiteral("cards left %1").arg(held)))
                << "seat " << n << ": " << nameOf(board.nameLabel(n)).toStdString();
        }
    }
}

// Only what the board shows is ever named: a card that has left a place is not named by it, and no
// name or description anywhere names a card that is not on view.
TEST_F(TableAccessibilityTest, NoNameRevealsACardThatIsNotShown)
{
    openRound(2);
    hostSays({"CMD_choosehand+2+2+0+", "CMD_starthand+", "CMD_nextplayer+1+", "CMD_placecard+1+22+6+t+"});
    EXPECT_EQ(nameOf(board.handPlace(6)), QStringLiteral("No card"));
    EXPECT_EQ(nameOf(board.playedCard(1)), QStringLiteral("King of Hearts"));

    QStringList onView;
    for (const CardPlace* place : board.findChildren<CardPlace*>())
        if (place->isVisibleTo(&board) && place->hasPicture())
            onView << CardPlace::cardName(place->picture());
    const QRegularExpression cardName(
        QStringLiteral("(7|8|9|10|Jack|Queen|King|Ace) of (Diamonds|Clubs|Hearts|Spades)"));
    for (QWidget* widget : board.findChildren<QWidget*>()) {
        // The quick instructions' example names cards of a picture, not of the game.
        if (widget->objectName().startsWith(QLatin1String("label_instructions")))
            continue;
        for (const QString& said : {nameOf(widget), descriptionOf(widget)}) {
            for (const QRegularExpressionMatch& match : cardName.globalMatch(said))
                EXPECT_TRUE(onView.contains(match.captured(0)))
                    << qPrintable(widget->objectName()) << " names " << qPrintable(match.captured(0));
        }
    }
}

} // namespace
