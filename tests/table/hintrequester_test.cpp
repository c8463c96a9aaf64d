#include "hintrequester.h"

#include "board.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fitlabel.h"
#include "hintreason.h"
#include "manualtimer.h"
#include "printers.h"
#include "tablemodel.h"
#include "tablerecorders.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace morlu::test;

namespace {

/// Seat @p seat logged in to a short game whose round 1 seat 1 chooses; the hand holds, by slot,
/// 8♦ Q♦ 7♣ J♣ 8♥ K♥ 9♠ 10♠ (codes 2 5 9 12 18 22 27 31).
std::vector<std::string> opening(int seat)
{
    const std::string s = std::to_string(seat);
    return {"CMD_sendlogininfo+" + s, "CMD_newplayerinfo+" + s + "+You", "CMD_startgame+You+s+", "CMD_startround+1+1+",
            "CMD_mycards+" + s + "+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31"};
}

/// Seat 1 chose GUILLOTINE and leads the first trick.
const std::vector<std::string> kOwnLead = {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+1+"};

class HintRequesterTest : public ::testing::Test {
protected:
    void feed(const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines) {
            model.apply(line);
            hints.refresh();
        }
    }
    QString lastLog() const { return board.gameLog()->toPlainText().split(QLatin1Char('\n')).constLast(); }
    bool ringed(int slot) const { return board.handPlace(slot)->isHinted(); }

    Board board;
    TableModel model;
    HostRecorder host;
    ManualTimer timer;
    HintRequester hints{board, model, host, timer};
};

// The request goes out only while the host waits for the own seat, and only once while it is unanswered;
// the menu item follows.
TEST_F(HintRequesterTest, AsksOnlyOnTheOwnTurnOrChoice)
{
    struct Row {
        const char* name;
        int seat;
        std::vector<std::string> lines; ///< after the opening
        bool may;
    };
    const Row rows[] = {
        {"the own contract choice", 1, {}, true},
        {"another seat chooses", 2, {}, false},
        {"the own turn", 1, kOwnLead, true},
        {"another seat's turn", 1, {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+2+"}, false},
        {"the own seat watches", 1, {"CMD_justwatching+1+1"}, false},
        {"a spectator", 5, {}, false},
        {"the trick is over",
         1,
         {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+1+", "CMD_placecard+1+2+1+t+", "CMD_nextplayer+2+",
          "CMD_placecard+2+3+1+f+", "CMD_placecard+3+4+1+f+", "CMD_placecard+4+6+1+f+", "CMD_endhand+4+"},
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        host.sent.clear();
        timer.stop();
        QSignalSpy changes(&hints, &HintRequester::mayAskChanged);
        std::vector<std::string> lines = opening(row.seat);
        lines.insert(lines.end(), row.lines.begin(), row.lines.end());
        feed(lines);
        EXPECT_EQ(hints.mayAsk(), row.may);
        hints.Hint1Click();
        hints.Hint1Click();
        const std::vector<std::string> expected =
            row.may ? std::vector<std::string>{"CMD_hint+" + std::to_string(row.seat) + "+\xFF"}
                    : std::vector<std::string>{};
        EXPECT_EQ(host.sent, expected);
        EXPECT_EQ(hints.awaitingAnswer(), row.may);
        if (row.may) {
            ASSERT_FALSE(changes.isEmpty());
            EXPECT_TRUE(changes.constLast().at(0).toBool());
        }
        // The answer (or a fresh start) ends the wait for the next row.
        hints.hint(std::to_string(row.seat) + "+0+9+");
    }
}

// The host's answer rings its card or contract entry and says why in the game log (for a contract on the
// board as well); the ring goes with its position, and an answer for another seat or a position already
// over is ignored.
TEST_F(HintRequesterTest, RingsTheAnswerUntilItsPositionIsOver)
{
    struct Row {
        const char* name;
        std::vector<std::string> before; ///< after the opening of seat 1
        std::string answer;
        int slot;     ///< ringed after the answer
        int contract; ///< ringed after the answer
        const char* log;
        std::vector<std::string> after;
    };
    const Row rows[] = {
        {"a contract", {}, "1+0+5+", 0, 5, "Hint: GUILLOTINE", {"CMD_choosehand+1+5+0+"}},
        {"a card",
         kOwnLead,
         "1+1+",
         1,
         0,
         "Hint: the 8 of Diamonds - GUILLOTINE: no Heart or Spade may lead the first trick",
         {"CMD_placecard+1+2+1+t+"}},
        {"a card, then the turn moves on",
         kOwnLead,
         "1+3+",
         3,
         0,
         "Hint: the 7 of Clubs - GUILLOTINE: no Heart or Spade may lead the first trick",
         {"CMD_placecard+1+2+1+t+", "CMD_nextplayer+2+"}},
        {"another seat's answer", kOwnLead, "2+3+", 0, 0, "", {}},
        {"a card the hand no longer holds",
         {"CMD_choosehand+1+5+0+", "CMD_starthand+", "CMD_nextplayer+1+", "CMD_placecard+1+2+1+t+",
          "CMD_nextplayer+1+"},
         "1+1+",
         0,
         0,
         "",
         {}},
        {"a card while choosing", {}, "1+3+", 0, 0, "", {}},
        {"a contract already used", {}, "1+0+2+", 0, 0, "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        board.gameLog()->clear();
        std::vector<std::string> lines = opening(1);
        lines.insert(lines.end(), row.before.begin(), row.before.end());
        feed(lines);
        QSignalSpy said(&hints, &HintRequester::said);
        hints.hint(row.answer);
        EXPECT_EQ(said.isEmpty() ? QString() : said.constLast().at(0).toString(), QString::fromLatin1(row.log));
        if (row.slot != 0 || row.contract != 0) {
            // Asked again while the ring stands: said again, but neither asked of the host nor logged twice.
            const std::size_t sent = host.sent.size();
            const QString log = board.gameLog()->toPlainText();
            hints.Hint1Click();
            EXPECT_EQ(host.sent.size(), sent);
            EXPECT_EQ(board.gameLog()->toPlainText(), log);
            EXPECT_EQ(said.size(), 2);
            EXPECT_EQ(said.constLast().at(0).toString(), QString::fromLatin1(row.log));
        }
        EXPECT_EQ(hints.ringedSlot(), row.slot);
        EXPECT_EQ(hints.ringedContract(), row.contract);
        EXPECT_EQ(board.chooser()->hinted(), row.contract);
        for (int slot = 1; slot <= 8; ++slot)
            EXPECT_EQ(ringed(slot), slot == row.slot) << slot;
        EXPECT_EQ(lastLog(), QString::fromLatin1(row.log));
        // The chooser covers the game log: a contract's reason shows on the board as well.
        EXPECT_EQ(!board.hintNoteLabel()->isHidden(), row.contract != 0);
        if (row.contract != 0) {
            EXPECT_EQ(board.hintNoteLabel()->text(), QString::fromLatin1(row.log));
        }
        feed(row.after);
        EXPECT_TRUE(board.hintNoteLabel()->isHidden());
        EXPECT_EQ(hints.ringedSlot(), 0);
        EXPECT_EQ(board.chooser()->hinted(), 0);
        for (int slot = 1; slot <= 8; ++slot)
            EXPECT_FALSE(ringed(slot)) << slot;
    }
}

// Played by keyboard, the hinted card takes the focus, so Enter plays it; the keys are not taken from
// elsewhere (the chat entry).
TEST_F(HintRequesterTest, TheHintedCardTakesTheKeyboardFromTheBoard)
{
    auto* elsewhere = new QLineEdit(&board);
    board.show();
    QApplication::setActiveWindow(&board);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&board));
    for (QWidget* focused :
         {static_cast<QWidget*>(&board), static_cast<QWidget*>(board.handPlace(1)), static_cast<QWidget*>(elsewhere)}) {
        SCOPED_TRACE(focused->metaObject()->className());
        model.reset();
        std::vector<std::string> lines = opening(1);
        lines.insert(lines.end(), kOwnLead.begin(), kOwnLead.end());
        feed(lines);
        focused->setFocus();
        ASSERT_TRUE(focused->hasFocus());
        hints.hint("1+3+");
        EXPECT_TRUE((focused == elsewhere ? focused : board.handPlace(3))->hasFocus());
        // Asked again once the keys have moved on: the answer that stands takes them back.
        focused->setFocus();
        if (focused != elsewhere)
            board.handPlace(2)->setFocus();
        hints.Hint1Click();
        EXPECT_TRUE((focused == elsewhere ? focused : board.handPlace(3))->hasFocus());
        feed({"CMD_placecard+1+9+3+t+"});
    }
}

// An older host drops the request: a second later the player is told, unless an answer came or the
// position was over first; under the contract box too while the chooser covers the game log, until the
// choice is made.
TEST_F(HintRequesterTest, SaysThatTheHostGivesNoHintsAfterOneSecondWithoutAnAnswer)
{
    struct Row {
        const char* name;
        std::vector<std::string> extra; ///< after the opening of seat 1, before asking
        int answerAt;                   ///< milliseconds after asking; -1 for never
        std::vector<std::string> meanwhile;
        const char* log;  ///< the last log line 1000 ms after asking
        const char* note; ///< the line under the contract box by then; empty for none
    };
    const Row rows[] = {
        {"no answer, alone at the table", {}, -1, {}, "This host gives no hints.", "This host gives no hints."},
        {"no answer on the own lead: the log is in sight", kOwnLead, -1, {}, "This host gives no hints.", ""},
        {"no answer, another human seated",
         {"CMD_newplayerinfo+3+Bob"},
         -1,
         {},
         "No hint came: the host player allows none, or this host gives none.",
         "No hint came: the host player allows none, or this host gives none."},
        {"answered in time", {}, 999, {}, "Hint: GUILLOTINE", "Hint: GUILLOTINE"},
        {"the position is over first", {}, -1, {"CMD_choosehand+1+6+0+"}, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        model.reset();
        board.gameLog()->clear();
        std::vector<std::string> lines = opening(1);
        lines.insert(lines.end(), row.extra.begin(), row.extra.end());
        feed(lines);
        QSignalSpy said(&hints, &HintRequester::said);
        hints.Hint1Click();
        feed(row.meanwhile);
        if (row.answerAt >= 0) {
            timer.advance(row.answerAt);
            hints.hint("1+0+5+");
            timer.advance(1000 - row.answerAt);
        } else {
            timer.advance(999);
            EXPECT_EQ(lastLog(), QString()) << "not before the second is over";
            timer.advance(1);
        }
        EXPECT_EQ(lastLog(), QString::fromLatin1(row.log));
        EXPECT_EQ(said.isEmpty() ? QString() : said.constLast().at(0).toString(), QString::fromLatin1(row.log));
        const FitLabel* note = board.hintNoteLabel();
        EXPECT_EQ(note->isHidden() ? QString() : note->text(), QString::fromLatin1(row.note));
        EXPECT_FALSE(hints.awaitingAnswer());
        hints.hint("1+0+9+");
        feed({"CMD_choosehand+1+6+0+"});
        EXPECT_TRUE(note->isHidden());
    }
}

// Why, in a few words, read from the own hand and what lies on the table.
TEST(HintReason, ContractsByTheHandThatSuitsThem)
{
    struct Row {
        int contract;
        std::vector<int> hand;
        const char* reason;
    };
    const Row rows[] = {
        {5, {1, 2, 9, 10, 11, 17, 18, 19}, "GUILLOTINE: your hand holds no Spades and no Hearts above 9"},
        {5, {1, 2, 9, 10, 11, 17, 22, 24}, "GUILLOTINE: your hand holds no Spades"},
        {5, {1, 2, 9, 10, 25, 17, 26, 19}, "GUILLOTINE: your hand holds no Hearts or Spades above 9"},
        {5, {1, 2, 9, 10, 32, 17, 18, 19}, ""},
        {1, {1, 2, 3, 9, 10, 11, 25, 26}, "MORLU: your hand holds no Hearts"},
        {1, {1, 2, 3, 9, 10, 17, 21, 26}, "MORLU: your hand holds no Hearts above the Queen"},
        {1, {1, 2, 3, 9, 10, 17, 23, 26}, ""},
        {2, {1, 2, 3, 9, 10, 11, 12, 17}, "WATERLOO: your hand holds no Queens and nothing above them"},
        {2, {1, 2, 3, 9, 10, 11, 12, 24}, "WATERLOO: your hand holds no Queens"},
        {2, {1, 2, 3, 9, 10, 11, 13, 17}, ""},
        {3, {1, 2, 3, 9, 10, 11, 12, 17}, "SIEGE: your hand holds no Spades"},
        {3, {1, 2, 3, 9, 10, 11, 25, 27}, "SIEGE: your hand holds no Spades above 9"},
        {3, {1, 2, 3, 9, 10, 11, 25, 28}, ""},
        {4, {1, 2, 3, 9, 17, 14, 15, 16}, "TOUCHE: your hand holds 5 cards of 9 or lower"},
        {4, {1, 2, 3, 12, 13, 14, 15, 16}, ""},
        {6, {4, 12, 20, 1, 2, 3, 9, 10}, "DOMINO: your hand holds three Jacks to open the layout with"},
        {6, {4, 12, 1, 2, 3, 13, 14, 15}, ""},
    };
    for (const Row& row : rows) {
        HintReason::Hand hand{};
        for (std::size_t n = 0; n < row.hand.size(); ++n)
            hand[n + 1] = row.hand[n];
        EXPECT_EQ(HintReason::forContract(row.contract, hand), QString::fromLatin1(row.reason))
            << row.contract << " " << row.reason;
    }
}

TEST(HintReason, CardsByWhatTheTableShows)
{
    struct Row {
        const char* name;
        int contract;
        int trickNumber;
        std::vector<int> hand;    ///< slots 1.., the rest empty
        std::array<int, 5> trick; ///< by seat; the first card's suit is led unless all are 0
        int leader;               ///< seat that led, 0 for none
        int slot;
        const char* reason;
    };
    const Row rows[] = {
        {"first lead", 5, 1, {1, 9, 17, 25}, {}, 0, 1, "GUILLOTINE: no Heart or Spade may lead the first trick"},
        {"low lead", 1, 2, {1, 9, 17, 25}, {}, 0, 2, "MORLU: your lowest Club leads"},
        {"high lead", 1, 2, {1, 16, 17, 25}, {}, 0, 2, ""},
        {"under", 3, 3, {9, 12, 17}, {0, 0, 15, 0, 0}, 2, 2, "SIEGE: it stays under the 10 of Clubs"},
        {"last, no money",
         3,
         3,
         {9, 16, 17},
         {0, 0, 15, 10, 11},
         2,
         2,
         "SIEGE: the trick holds no money, so your high Club may take it"},
        {"last, money", 3, 3, {9, 16, 17}, {0, 0, 15, 10, 26}, 2, 2, ""},
        {"void", 2, 4, {1, 29, 17}, {0, 0, 11, 0, 0}, 2, 2, "WATERLOO: no Clubs in your hand, away with it"},
        {"forced", 1, 4, {1, 12, 17}, {0, 0, 11, 0, 0}, 2, 2, "MORLU: the only card you may play"},
        {"next card", 6, 1, {4, 5, 17}, {}, 0, 1, "DOMINO: the Queen of Diamonds follows it from your own hand"},
        {"one rank", 6, 1, {4, 12, 20}, {}, 0, 2, "DOMINO: you hold three Jacks to open the layout with"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        morlu::PlayPosition position;
        position.contract = row.contract;
        position.trick = row.trickNumber;
        for (std::size_t n = 0; n < row.hand.size(); ++n)
            position.hand[n + 1] = row.hand[n];
        position.ledsuit = row.leader != 0 ? morlu::getsuit(row.trick[std::size_t(row.leader)]) : morlu::NoSuit;
        HintReason::Trick trick{};
        for (std::size_t seat = 1; seat <= 4; ++seat)
            trick[seat] = row.trick[seat];
        EXPECT_EQ(HintReason::forCard(position, trick, row.slot), QString::fromLatin1(row.reason));
    }
}

} // namespace
