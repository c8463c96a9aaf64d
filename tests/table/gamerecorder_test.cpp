#include "gamerecord.h"
#include "gamerecorder.h"
#include "printers.h"
#include "tablelink.h"
#include "tablemenus.h"
#include "tablerig.h"
#include "tempdir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using morlu::readGameRecord;
using morlu::test::TempDir;

const QDateTime kStart(QDate(2026, 12, 8), QTime(14, 25, 1));

/// A recorder writing to @p folder whose clock moves on 250 ms at every reading.
struct RecorderRig {
    explicit RecorderRig(const QString& folder)
    {
        recorder.setFolder(folder);
        recorder.setClock([this] { return kStart.addMSecs(250 * qint64(readings++)); });
        recorder.setHeaders([] { return GameRecorder::Headers{{"host", "127.0.0.1"}, {"seat", "2"}}; });
    }
    void say(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            recorder.lineReceived(line);
    }
    GameRecorder recorder;
    int readings = 0;
};

QStringList records(const QString& folder)
{
    return QDir(folder).entryList({"*.morlugame"}, QDir::Files, QDir::Name);
}

// What starts a record, what ends it, and when it is kept as unfinished.
TEST(GameRecorder, RecordsEachGameFromItsStartAndMarksWhatDidNotEnd)
{
    enum class Step { Lines, Finish, SwitchOff };
    struct Row {
        const char* what;
        std::vector<std::pair<Step, std::vector<const char*>>> steps;
        QStringList files;
        std::vector<std::pair<std::size_t, bool>> linesAndUnfinished; ///< per file
    };
    const char* game[] = {"CMD_startgame+Ann+s+", "CMD_startround+1+1+", "CMD_winner+Ann+"};
    const Row rows[] = {
        {"a whole game; what comes before and after is not recorded",
         {{Step::Lines, {"CMD_chat+Ann+hi", game[0], game[1], game[2], "CMD_chat+Ann+gg"}}},
         {"2026-12-08_142501.morlugame"},
         {{3, false}}},
        {"the table closes during a game",
         {{Step::Lines, {game[0], game[1]}}, {Step::Finish, {}}, {Step::Finish, {}}},
         {"2026-12-08_142501.morlugame"},
         {{2, true}}},
        {"a new game ends the one before; the same second gets _2",
         {{Step::Lines, {game[0], game[0], game[1], game[2]}}},
         {"2026-12-08_142501.morlugame", "2026-12-08_142501_2.morlugame"},
         {{1, true}, {3, false}}},
        {"a table that comes in during a game records from the catch-up",
         {{Step::Lines, {"CMD_agame+6+2+l+3+3+2+0+0+0+0+0+0+", game[2]}}},
         {"2026-12-08_142501.morlugame"},
         {{2, false}}},
        {"switched off during a game: kept as unfinished, then nothing",
         {{Step::Lines, {game[0]}}, {Step::SwitchOff, {}}, {Step::Lines, {game[1], game[0], game[2]}}},
         {"2026-12-08_142501.morlugame"},
         {{1, true}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        const QString folder = dir.file("games");
        {
            RecorderRig rig(folder);
            for (const auto& [step, lines] : row.steps) {
                if (step == Step::Finish)
                    rig.recorder.finish();
                else if (step == Step::SwitchOff)
                    rig.recorder.setEnabled(false);
                for (const char* line : lines)
                    rig.recorder.lineReceived(line);
            }
        }
        ASSERT_EQ(records(folder), row.files);
        for (qsizetype i = 0; i < row.files.size(); ++i) {
            const morlu::GameRecordRead read = readGameRecord(QDir(folder).filePath(row.files.at(i)));
            ASSERT_TRUE(read.ok()) << read.error.toStdString();
            EXPECT_EQ(read.record.lines.size(), row.linesAndUnfinished[std::size_t(i)].first);
            EXPECT_EQ(read.record.unfinished, row.linesAndUnfinished[std::size_t(i)].second);
            EXPECT_EQ(read.record.header("host"), "127.0.0.1");
            EXPECT_FALSE(read.record.header("date").isEmpty());
            // The times grow from 0 with the clock.
            EXPECT_EQ(read.record.lines.front().milliseconds, 250);
            EXPECT_TRUE(std::is_sorted(read.record.lines.begin(), read.record.lines.end(),
                                       [](const auto& a, const auto& b) { return a.milliseconds < b.milliseconds; }));
        }
    }
}

// Only the newest 500 records are kept: a new one removes the oldest, whoever wrote them.
TEST(GameRecorder, KeepsTheNewestFiveHundred)
{
    TempDir dir;
    const QString folder = dir.file("games");
    QDir().mkpath(folder);
    for (int n = 0; n < GameRecorder::kMaxRecords + 1; ++n) {
        QFile old(QDir(folder).filePath(QStringLiteral("2025-01-01_%1.morlugame").arg(100000 + n)));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    }
    QFile other(QDir(folder).filePath("notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    RecorderRig rig(folder);
    rig.say({"CMD_startgame+Ann+s+"});
    const QStringList kept = records(folder);
    ASSERT_EQ(kept.size(), GameRecorder::kMaxRecords);
    EXPECT_EQ(kept.first(), "2025-01-01_100002.morlugame");
    EXPECT_EQ(kept.last(), "2026-12-08_142501.morlugame");
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("notes.txt")));
}

// Records of one second are numbered from "_2" on; they are removed in the order they were made, so
// "_10" outlives "_9" and the first of the second (no number) goes first.
TEST(GameRecorder, RemovesTheRecordsOfOneSecondInTheOrderTheyWereMade)
{
    TempDir dir;
    const QString folder = dir.file("games");
    QDir().mkpath(folder);
    const auto touch = [&](const QString& name) {
        QFile file(QDir(folder).filePath(name));
        return file.open(QIODevice::WriteOnly);
    };
    ASSERT_TRUE(touch("2025-01-01_000000.morlugame"));
    for (int n = 2; n <= 11; ++n)
        ASSERT_TRUE(touch(QStringLiteral("2025-01-01_000000_%1.morlugame").arg(n)));
    for (int n = 0; n < GameRecorder::kMaxRecords - 10; ++n)
        ASSERT_TRUE(touch(QStringLiteral("2025-06-01_%1.morlugame").arg(100000 + n)));
    RecorderRig rig(folder);
    rig.say({"CMD_startgame+Ann+s+"});
    const QStringList kept = records(folder);
    ASSERT_EQ(kept.size(), GameRecorder::kMaxRecords);
    EXPECT_FALSE(kept.contains("2025-01-01_000000.morlugame"));
    EXPECT_FALSE(kept.contains("2025-01-01_000000_2.morlugame"));
    EXPECT_TRUE(kept.contains("2025-01-01_000000_3.morlugame"));
    EXPECT_TRUE(kept.contains("2025-01-01_000000_10.morlugame"));
}

// A record that cannot be written is told once, with the path and the reason, and the game goes on;
// once a record is written again, a later failure is told again.
TEST(GameRecorder, TellsAFailedRecordOnce)
{
    TempDir dir;
    const QString blocked = dir.file("games");
    QFile file(blocked); // a file where the folder should be
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    RecorderRig rig(blocked);
    QSignalSpy told(&rig.recorder, &GameRecorder::writeFailed);
    for (int game = 0; game < 3; ++game)
        rig.say({"CMD_startgame+Ann+s+", "CMD_startround+1+1+", "CMD_winner+Ann+"});
    ASSERT_EQ(told.count(), 1);
    EXPECT_TRUE(told.at(0).at(0).toString().contains(QDir::toNativeSeparators(blocked)));
    EXPECT_FALSE(rig.recorder.recording());

    rig.recorder.setFolder(dir.file("fine"));
    rig.say({"CMD_startgame+Ann+s+", "CMD_winner+Ann+"});
    EXPECT_EQ(records(dir.file("fine")).size(), 1);
    rig.recorder.setFolder(blocked);
    rig.say({"CMD_startgame+Ann+s+"});
    EXPECT_EQ(told.count(), 2);
}

// The table records what its host says into games/ beside the tally, unless Keep Game Records is off.
TEST(GameRecorder, TheTableRecordsItsGamesUnlessSwitchedOff)
{
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        TempDir dir;
        morlu::test::FakeHost host;
        auto table = morlu::test::makeTable({"Ann", "127.0.0.1", "false"}, host.port());
        table->useTallyFile(dir.file("Morlutally.tld"));
        table->processparams();
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.hasTable(); }, morlu::test::kWait));
        const QStringList lines = {"CMD_sendlogininfo+2",       "CMD_newplayerinfo+1+Hosty", "CMD_newplayerinfo+2+Ann",
                                   "CMD_startgame+Hosty+s+",    "CMD_startround+1+1+",       "CMD_chat+Hosty+a\\b",
                                   "CMD_winner+Hosty+"};
        QSignalSpy handled(&table->link(), &TableLink::lineHandled);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            // The player switches after the login, which reads the settings.
            if (i == 3)
                table->menus().keepRecordsAction()->setChecked(keep);
            host.send(lines.at(i));
            ASSERT_TRUE(QTest::qWaitFor([&] { return handled.count() > i; }, morlu::test::kWait));
        }
        const QString folder = dir.file("games");
        ASSERT_EQ(records(folder).size(), keep ? 1 : 0);
        if (!keep)
            continue;
        const morlu::GameRecordRead read = readGameRecord(QDir(folder).filePath(records(folder).first()));
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(read.record.header("seat"), "2");
        EXPECT_EQ(read.record.header("name1"), "Hosty");
        // Nobody holds seat 3: the computer plays it under its own name from the game's start.
        EXPECT_EQ(read.record.header("name3"), "Klock");
        EXPECT_EQ(read.record.header("host"), "127.0.0.1");
        QStringList recorded;
        for (const morlu::RecordedLine& line : read.record.lines)
            recorded << QString::fromStdString(line.text);
        EXPECT_EQ(recorded, lines.mid(3));
        EXPECT_FALSE(read.record.unfinished);
    }
}

// A host that floods the table cannot fill the disk: a record stops at its size, kept as unfinished, and
// nothing is written until the next game.
TEST(GameRecorder, ARecordStopsAtItsSize)
{
    TempDir dir;
    const QString folder = dir.file("games");
    const std::string chat = "CMD_chat+1+Mallory|" + std::string(60000, 'x') + "|clBlack";
    const qint64 fitting = GameRecorder::kMaxRecordBytes / qint64(chat.size());
    {
        RecorderRig rig(folder);
        rig.say({"CMD_startgame+Ann+s+"});
        for (qint64 n = 0; n < 2 * fitting; ++n)
            rig.recorder.lineReceived(chat);
        EXPECT_FALSE(rig.recorder.recording());
        rig.say({"CMD_winner+Ann+", "CMD_startgame+Ann+s+", "CMD_winner+Ann+"});
    }
    ASSERT_EQ(records(folder).size(), 2);
    const morlu::GameRecordRead cut = readGameRecord(QDir(folder).filePath(records(folder).at(0)));
    ASSERT_TRUE(cut.ok()) << cut.error.toStdString();
    EXPECT_EQ(qint64(cut.record.lines.size()), 1 + fitting);
    EXPECT_TRUE(cut.record.unfinished);
    const morlu::GameRecordRead next = readGameRecord(QDir(folder).filePath(records(folder).at(1)));
    ASSERT_TRUE(next.ok()) << next.error.toStdString();
    EXPECT_EQ(next.record.lines.size(), 2u);
    EXPECT_FALSE(next.record.unfinished);
}

} // namespace
