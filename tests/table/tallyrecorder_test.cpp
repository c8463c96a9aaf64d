#include "tallyrecorder.h"

#include "messagebox.h"
#include "printers.h"
#include "tablefixture.h"
#include "tallyfile.h"
#include "tempdir.h"
#include "ttallylist.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace morlu;
using namespace morlu::test;

namespace {

QStringList numbers(std::initializer_list<int> values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts;
}

/// A table whose finished games reach a tally that follows Ann, Bob and Cid.
class TallyRecorderTest : public TableFixture {
protected:
    TallyRecorderTest()
    {
        QObject::connect(&events, &TableEvents::gameFinished, &tally, &TallyRecorder::addgame);
        for (const char* name : {"Ann", "Bob", "Cid"})
            tally.store().addOpponent(QString::fromLatin1(name));
    }
    /// Seats the table at @p seat (named "You") with the other seats named from @p names.
    void seat(int myseat, const QStringList& names)
    {
        state.myseat = myseat;
        for (int s = 1; s <= 4; ++s) {
            const QString name = names.value(s - 1, QString::fromLatin1(Board::kWaiting));
            board.setSeatName(s, name);
            if (name != QLatin1String(Board::kWaiting))
                display.take(morlu::CMD_newplayerinfo, QStringLiteral("%1+%2").arg(s).arg(name).toStdString());
        }
    }

    QWidget window;
    TallyRecorder tally{display.model(), QPixmap(), &window};
};

struct GameRow {
    const char* name;
    int myseat;
    QStringList seats; ///< names shown on seats 1..4
    const char* winner;
    int myGames;
    int myWins;
    QStringList ann, bob, cid; ///< columns 1..8 after the game
};

class TallyCountingTest : public TallyRecorderTest, public ::testing::WithParamInterface<GameRow> {};

// The table's whole road: CMD_winner, the table's decision, the players now at the table, the count.
TEST_P(TallyCountingTest, CountsAFinishedGameOnlyForThoseAtTheTable)
{
    const GameRow& row = GetParam();
    display.take(morlu::CMD_startgame, "You+s+"); // a game to win
    seat(row.myseat, row.seats);
    const QStringList atTable = tally.playersInCurrentGame();
    EXPECT_FALSE(atTable.contains(board.seatName(row.myseat))) << "the own seat is no opponent";
    EXPECT_FALSE(atTable.contains(QString::fromLatin1(Board::kWaiting)));

    game.winner(std::string(row.winner) + "+");
    EXPECT_EQ(tally.store().myGames(), QString::number(row.myGames));
    EXPECT_EQ(tally.store().myWins(), QString::number(row.myWins));
    EXPECT_EQ(tally.store().record(0), row.ann);
    EXPECT_EQ(tally.store().record(1), row.bob);
    EXPECT_EQ(tally.store().record(2), row.cid);
    EXPECT_EQ(tally.dialog().findChild<QLabel*>(QStringLiteral("mylabel_1"))->text(), QString::number(row.myGames));

    // "View Tally" offers the others at the table, the tallied ones ticked.
    tally.ViewTally1Click();
    const auto* list = tally.dialog().findChild<QListWidget*>(QStringLiteral("checklist"));
    QStringList offered;
    for (int n = 0; n < list->count(); ++n)
        offered << list->item(n)->text() + (list->item(n)->checkState() == Qt::Checked ? "+" : "");
    QStringList expected;
    for (const QString& name : atTable)
        expected << name + (tally.store().indexOf(name) >= 0 ? "+" : "");
    EXPECT_EQ(offered, expected);
}

const QStringList kZero = numbers({0, 0, 0, 0, 0, 0, 0, 0});
const QStringList kTogetherMine = numbers({1, 0, 1, 0, 1, 0, 1, 0});
const QStringList kTogetherHis = numbers({1, 1, 0, 0, 1, 1, 0, 0});
const QStringList kTogetherNeither = numbers({1, 0, 0, 1, 1, 0, 0, 1});

INSTANTIATE_TEST_SUITE_P(
    Tally, TallyCountingTest,
    ::testing::Values(
        GameRow{"OwnWin", 1, {"You", "Ann", "Bob", "Kling"}, "You", 1, 1, kTogetherMine, kTogetherMine, kZero},
        GameRow{"OpponentWins", 2, {"Ann", "You", "Bob", "Kling"}, "Ann", 1, 0, kTogetherHis, kTogetherNeither, kZero},
        GameRow{
            "OtherWinner", 3, {"Ann", "Bob", "You", "Kling"}, "Kling", 1, 0, kTogetherNeither, kTogetherNeither, kZero},
        GameRow{"Tie", 1, {"You", "Ann", "Bob", "Kling"}, "You and Ann", 0, 0, kZero, kZero, kZero},
        GameRow{"Spectator", 6, {"Ann", "Bob", "Cid", "Kling"}, "Ann", 0, 0, kZero, kZero, kZero},
        GameRow{"OpponentAway", 1, {"You", "Ann", "<Waiting>", "Kling"}, "You", 1, 1, kTogetherMine, kZero, kZero}),
    [](const ::testing::TestParamInfo<GameRow>& info) { return std::string(info.param.name); });

TEST_F(TallyRecorderTest, EveryFinishedGameAndEveryEditIsInTheFileAtOnce)
{
    TempDir dir;
    const QString path = dir.file(TallyFile::fileName());
    tally.useFile(path);
    EXPECT_TRUE(tally.takeLoadError().isEmpty());
    tally.store().addOpponent(QStringLiteral("Ann"));
    seat(1, {QStringLiteral("You"), QStringLiteral("Ann")});
    TallyStore onDisk;
    for (const char* winner : {"You+", "Ann+"}) {
        round.startthegame("You+s+");
        game.winner(winner);
        onDisk.load(path);
        EXPECT_EQ(onDisk.myGames(), tally.store().myGames()) << winner;
    }
    EXPECT_EQ(onDisk.record(0), numbers({2, 1, 1, 0, 0, 0, 0, 0})) << "this run's counts start again at the next start";

    MessageBox::setNextAnswer(QMessageBox::Yes);
    tally.dialog().button_resetClick();
    onDisk.load(path);
    EXPECT_EQ(onDisk.myGames(), QStringLiteral("0"));

    // A file that cannot be read: said once, kept aside at the next save.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a tally");
    file.close();
    tally.useFile(path);
    const QString told = tally.takeLoadError();
    EXPECT_TRUE(told.contains(QStringLiteral("Morlutally.tld.bad")));
    EXPECT_TRUE(told.startsWith(QStringLiteral("Your win tally could not be read"))) << told.toStdString();
    EXPECT_TRUE(tally.takeLoadError().isEmpty());
    EXPECT_TRUE(tally.save());
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".bad")));
}

// A tally that cannot be saved is said once, with the path and the reason, until a save succeeds; every
// save (the next game, the close) tries again.
TEST_F(TallyRecorderTest, AFailedSaveIsSaidOnceAndTriedAgain)
{
    TempDir dir;
    const QString folder = dir.file(QStringLiteral("tally"));
    const QString path = folder + QStringLiteral("/") + TallyFile::fileName();
    tally.useFile(path);
    seat(1, {QStringLiteral("You"), QStringLiteral("Ann")});
    QSignalSpy said(&tally, &TallyRecorder::saveFailed);
    struct Row {
        const char* step;
        bool folderThere;
        bool saved;
        int saidSoFar;
    };
    const Row rows[] = {
        {"first failure", false, false, 1},
        {"second failure", false, false, 1},
        {"folder made", true, true, 1},
        {"folder gone again", false, false, 2},
    };
    for (const Row& row : rows) {
        if (row.folderThere)
            QDir().mkpath(folder);
        else
            QDir(folder).removeRecursively();
        round.startthegame("You+s+");
        game.winner("You+");
        EXPECT_EQ(tally.save(), row.saved) << row.step;
        EXPECT_EQ(said.count(), row.saidSoFar) << row.step;
        if (row.folderThere) {
            TallyStore onDisk;
            onDisk.load(path);
            EXPECT_EQ(onDisk.myGames(), tally.store().myGames()) << row.step;
        }
    }
    const QString text = said.at(0).at(0).toString();
    EXPECT_TRUE(text.contains(path)) << text.toStdString();
}

} // namespace
