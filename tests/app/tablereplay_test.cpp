// Game records of real games of computer players replayed on the table window.

#include "tablereplay.h"

#include "board.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fitlabel.h"
#include "gamerecorder.h"
#include "playtogether.h"
#include "printers.h"
#include "recordedgame.h"
#include "replaybar.h"
#include "tableconnection.h"
#include "tablelink.h"
#include "tablemodel.h"
#include "tablerig.h"
#include "tempdir.h"
#include "thostgame.h"
#include "tjoingame.h"

#include <QFile>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace morlu;
using namespace morlu::test;

/// Everything the player sees of the game, and what the model says of it, as text.
QString seen(Tchat& table)
{
    const TableModel& m = table.model();
    QStringList out;
    out << QStringLiteral("round %1 director %2 chooser %3 turn %4 contract %5 trick %6 leader %7 taker %8 domino %9")
               .arg(m.round())
               .arg(m.director())
               .arg(m.chooser())
               .arg(m.turn())
               .arg(m.contract())
               .arg(m.tricknumber())
               .arg(m.leader())
               .arg(m.taker())
               .arg(m.dominoStart());
    out << QStringLiteral("running %1 winner %2").arg(m.gamerunning()).arg(m.winner());
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        const TableModel::Seat& s = m.seat(seat);
        out << QStringLiteral("seat %1 %2 bank %3 change %4 round %5 won %6 directed %7 tricks %8 left %9")
                   .arg(seat)
                   .arg(table.board().seatName(seat))
                   .arg(s.bank)
                   .arg(s.change)
                   .arg(s.roundChange)
                   .arg(s.roundsWon)
                   .arg(s.directed)
                   .arg(s.tricks)
                   .arg(s.cardsLeft);
        out << QStringLiteral("board %1 score %2 played %3 bonus %4")
                   .arg(seat)
                   .arg(table.board().scoreLabel(seat)->text())
                   .arg(table.board().playedCard(seat)->picture())
                   .arg(table.board().bonusLabel(seat)->text());
    }
    for (int place = 1; place <= kHandSlots; ++place) {
        const CardPlace* card = table.board().handPlace(place);
        out << QStringLiteral("hand %1 model %2 shown %3 picture %4")
                   .arg(place)
                   .arg(m.hand()[std::size_t(place)])
                   .arg(!card->isHidden())
                   .arg(card->isHidden() ? 0 : card->picture());
    }
    for (int suit = 1; suit <= 4; ++suit)
        out << QStringLiteral("foundation %1 %2").arg(suit).arg(table.board().foundation(suit)->picture());
    out << QStringLiteral("status ") + table.board().statusLabel()->text();
    out << QStringLiteral("contract ") + table.board().handTypeLabel()->text();
    out << QStringLiteral("counter ") + table.board().roundLabel()->text();
    out << QStringLiteral("winner panel %1").arg(!table.board().winnerPanel()->isHidden());
    out << QStringLiteral("log:") << table.board().gameLog()->toPlainText();
    out << QStringLiteral("chat:") << chatLines(table);
    return out.join(QLatin1Char('\n'));
}

QString writeRecord(const TempDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.file(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Every trick and round boundary of a real game, reached by going back, by jumping forward and by the
// keys, shows exactly what the table showed when it took the lines one by one: the board, the model, the
// game log and the chat. The record's winner is not counted again, and nothing is ever sent.
TEST(TableReplay, EveryBoundaryShowsWhatTheTableShowedThen)
{
    struct Row {
        std::uint32_t seed;
        const char* length;
    };
    for (const Row& row : {Row{7, "s"}, Row{1234, "s"}}) {
        SCOPED_TRACE(row.seed);
        TempDir dir;
        const GameRecord record = recordedGame(row.seed, row.length);
        const QString path = writeRecord(dir, QStringLiteral("game.morlugame"), recordFile(record));

        auto straight = makeTable({}, 0);
        ASSERT_TRUE(straight->openGameRecord(path));
        ReplayController& reference = straight->replay().controller();
        std::vector<int> boundaries = reference.roundStarts();
        boundaries.insert(boundaries.end(), reference.trickStarts().begin(), reference.trickStarts().end());
        boundaries.push_back(0);
        boundaries.push_back(reference.lineCount());
        std::sort(boundaries.begin(), boundaries.end());
        ASSERT_GT(reference.roundStarts().size(), 7u);
        std::map<int, QString> expected;
        expected[0] = seen(*straight);
        while (reference.position() < reference.lineCount()) {
            reference.step(1);
            if (std::binary_search(boundaries.begin(), boundaries.end(), reference.position()))
                expected[reference.position()] = seen(*straight);
        }
        EXPECT_TRUE(straight->model().gameOver());
        // The seats are named as the record's header names them, in the model as on the board.
        int named = 0;
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            const QString name = record.header(QStringLiteral("name%1").arg(seat));
            if (name.isEmpty())
                continue;
            ++named;
            EXPECT_EQ(straight->model().seatName(seat), name) << "seat " << seat;
        }
        EXPECT_GT(named, 0);

        MessageBoxes boxes;
        auto replayed = makeTable({}, 0);
        SentLines sent(*replayed);
        ASSERT_TRUE(replayed->openGameRecord(path));
        ReplayController& c = replayed->replay().controller();
        c.toEnd();
        ASSERT_EQ(seen(*replayed), expected[c.lineCount()]);
        // Backwards through every boundary: each one rebuilt from the start.
        for (auto it = boundaries.rbegin(); it != boundaries.rend(); ++it) {
            c.seek(*it);
            ASSERT_EQ(seen(*replayed), expected[*it]) << "back to line " << *it;
        }
        // Forwards by tricks (a jump of many lines), and a round at a time by its key.
        while (c.position() < c.lineCount()) {
            c.nextTrick();
            ASSERT_EQ(seen(*replayed), expected[c.position()]) << "on to line " << c.position();
        }
        c.toStart();
        while (c.position() < c.lineCount()) {
            replayed->replay().bar()->press(Qt::Key_PageDown);
            ASSERT_EQ(seen(*replayed), expected[c.position()]) << "on to line " << c.position();
        }

        // What the player asks of a replayed table goes nowhere: a contract while "You" choose, a card, a
        // chat line; the host's controls are off.
        c.seek(reference.roundStarts().front());
        ASSERT_EQ(replayed->model().chooser(), 1);
        emit replayed->board().contractReleased(6);
        emit replayed->board().handPlaceClicked(replayed->board().handPlace(1));
        replayed->JustWatch1Click();
        replayed->connection().sendline("CMD_chat+hello|clBlack\xff");
        EXPECT_FALSE(replayed->startGameAction()->isEnabled());
        EXPECT_TRUE(sent.lines().isEmpty()) << sent.lines().join(' ').toStdString();
        EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(' ').toStdString();
        EXPECT_FALSE(replayed->link().connection().isConnected());
        EXPECT_EQ(replayed->windowTitle(), "Morlu - replay of game.morlugame");
    }
}

// A record with a damaged line replays up to it, the bar saying which line stopped it; a file that is
// no record leaves the table as it was.
TEST(TableReplay, ADamagedRecordReplaysUpToTheLineItCouldNotRead)
{
    TempDir dir;
    GameRecord record = recordedGame(7, "s");
    QList<QByteArray> lines = recordFile(record).split('\n');
    const int damaged = 40;
    lines[damaged - 1] = "12x CMD_starthand+";
    const QString path = writeRecord(dir, QStringLiteral("damaged.morlugame"), lines.join('\n'));

    MessageBoxes boxes;
    auto table = makeTable({}, 0);
    EXPECT_FALSE(table->openGameRecord(writeRecord(dir, QStringLiteral("notes.txt"), "shopping list\n")));
    EXPECT_FALSE(table->replay().replaying());
    EXPECT_EQ(boxes.texts().size(), 1);

    ASSERT_TRUE(table->openGameRecord(path));
    ReplayController& c = table->replay().controller();
    // Before the damaged line: the first line, the headers and the lines of the game.
    EXPECT_EQ(c.lineCount(), damaged - 1 - 1 - int(record.headers.size()));
    c.toEnd();
    EXPECT_EQ(c.position(), c.lineCount());
    auto* problem = table->findChild<QLabel*>("label_problem");
    ASSERT_NE(problem, nullptr);
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(problem->text(), QStringLiteral("Line %1 of the record could not be read: a damaged line. The replay "
                                              "ends before it.")
                                   .arg(damaged));
}

} // namespace

namespace {

// File > Open Game Record...: a replaying table shows the chosen record itself; a table that plays starts
// the program again on it, asking first while a game runs; nothing chosen, or No, changes nothing.
TEST(TableReplay, OpenGameRecordReplacesAReplayOrRestartsOnTheRecord)
{
    struct Row {
        const char* what;
        bool replaying;
        bool gamerunning;
        bool chosen;
        QMessageBox::StandardButton answer;
        int questions;
        bool restarted;
        QString shown;
    };
    const Row rows[] = {
        {"a replay opens the next record", true, false, true, QMessageBox::Yes, 0, false, "second.morlugame"},
        {"a replay with nothing chosen", true, false, false, QMessageBox::Yes, 0, false, "first.morlugame"},
        {"a table between games", false, false, true, QMessageBox::Yes, 0, true, QString()},
        {"a table in a game, Yes", false, true, true, QMessageBox::Yes, 1, true, QString()},
        {"a table in a game, No", false, true, true, QMessageBox::No, 1, false, QString()},
    };
    TempDir dir;
    const QByteArray bytes = recordFile(recordedGame(7, "s"));
    const QString first = writeRecord(dir, QStringLiteral("first.morlugame"), bytes);
    const QString second = writeRecord(dir, QStringLiteral("second.morlugame"), bytes);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MessageBox::clearAnswered();
        MessageBox::setHook([&row](const QString&) { return row.answer; });
        auto table = makeTable({}, 0);
        if (row.replaying) {
            ASSERT_TRUE(table->openGameRecord(first));
        }
        if (row.gamerunning)
            table->link().dispatcher().dispatch("CMD_startgame+You+s+");
        QString folderAsked;
        table->replay().setFileChooser([&](const QString& folder) {
            folderAsked = folder;
            return row.chosen ? second : QString();
        });
        // No game played yet: the records folder is not there until the chooser opens in it.
        const QString records = QDir(dir.path()).filePath(QStringLiteral("games-") + QString::fromLatin1(row.what));
        table->gameRecorder().setFolder(records);
        std::optional<QStringList> restart;
        table->setRestarter([&restart](const QStringList& arguments) { restart = arguments; });
        QSignalSpy closed(table.get(), &Tchat::tableClosed);
        table->findChild<QAction*>("OpenGameRecord1")->trigger();
        EXPECT_EQ(folderAsked, records);
        EXPECT_TRUE(QDir(folderAsked).exists());
        EXPECT_EQ(int(MessageBox::answered().size()), row.questions);
        EXPECT_EQ(restart.has_value(), row.restarted);
        if (restart) {
            EXPECT_EQ(*restart, QStringList({"--replay", second}));
        }
        EXPECT_EQ(closed.count(), row.restarted ? 1 : 0);
        if (!row.shown.isEmpty()) {
            EXPECT_EQ(table->windowTitle(), "Morlu - replay of " + row.shown);
        }
        MessageBox::setHook({});
        MessageBox::clearAnswered();
    }
}

// Host Game and Join Game from a replay window start the chosen game without asking, even halfway
// through the replayed game: nobody plays in a replay, so nobody leaves a game.
TEST(TableReplay, HostOrJoinFromAReplayLeavesNoGameToAskAbout)
{
    TempDir dir;
    const QString path = writeRecord(dir, QStringLiteral("game.morlugame"), recordFile(recordedGame(7, "s")));
    for (const bool host : {true, false}) {
        SCOPED_TRACE(host ? "host" : "join");
        MessageBox::clearAnswered();
        MessageBox::setHook([](const QString&) { return QMessageBox::No; });
        auto table = makeTable({}, 0);
        ASSERT_TRUE(table->openGameRecord(path));
        ReplayController& c = table->replay().controller();
        c.seek(c.lineCount() / 2);
        ASSERT_TRUE(table->model().gamerunning());
        std::optional<QStringList> restart;
        table->setRestarter([&restart](const QStringList& arguments) { restart = arguments; });
        QLineEdit* edit = nullptr;
        if (host) {
            table->playTogether().HostGame1Click();
            edit = table->playTogether().hostDialog().findChild<QLineEdit*>(QStringLiteral("edit_name"));
        } else {
            table->playTogether().JoinGame1Click();
            edit = table->playTogether().joinDialog().findChild<QLineEdit*>(QStringLiteral("edit_address"));
            edit->setText(QStringLiteral("127.0.0.1:7000"));
        }
        ASSERT_NE(edit, nullptr);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(MessageBox::answered().isEmpty());
        EXPECT_TRUE(restart.has_value());
        MessageBox::setHook({});
    }
}

} // namespace
