// A real game of computer players recorded as a table would record it, then read by build/morlu-game.

#include "fakeclock.h"
#include "gameengine.h"
#include "gamerecorder.h"
#include "printers.h"
#include "tempdir.h"
#include "watchedgame.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using namespace morlu;

struct ToolResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolResult runTool(const QStringList& args)
{
    QString buildDir = qEnvironmentVariable("MORLU_BUILD_DIR");
    if (buildDir.isEmpty())
        buildDir = QCoreApplication::applicationDirPath();
    QProcess process;
    process.start(QDir(buildDir).filePath("morlu-game"), args);
    EXPECT_TRUE(process.waitForFinished(30000));
    ToolResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

/// Plays one whole game (seed @p seed, length @p length) and returns the path of its record in @p folder.
QString recordGame(const QString& folder, std::uint32_t seed, const std::string& length, std::array<int, 4>& banks)
{
    GameRecorder recorder;
    recorder.setFolder(folder);
    recorder.setHeaders([] {
        return GameRecorder::Headers{{"name1", "Ann"}, {"name2", "Klot"}, {"name3", "Klock"}, {"name4", "Kling"}};
    });
    test::SlotOneOutbox outbox([&recorder](std::string_view line) { recorder.lineReceived(line); });
    test::FakeClock clock;
    Random random(seed);
    GameEngine engine(outbox, clock, random);
    test::startWatchedGame(engine, clock, length);
    for (int steps = 0; clock.fireNext() && steps < 200000; ++steps) {
    }
    EXPECT_FALSE(engine.gamerunning());
    for (int seat = 1; seat <= kSeatCount; ++seat)
        banks[std::size_t(seat - 1)] = engine.seat(seat).bank;
    return recorder.currentPath();
}

// The CSV of a recorded game: one row per round in order, the banks summing to 40000 after every round,
// each change the difference of the banks, and the last banks the host's own.
TEST(GameTool, ShowsARecordedGameRoundByRound)
{
    struct Row {
        std::uint32_t seed;
        std::string length;
    };
    for (const Row& row : {Row{7, "s"}, Row{42, "l"}}) {
        SCOPED_TRACE(row.seed);
        test::TempDir dir;
        std::array<int, 4> finalBanks{};
        const QString path = recordGame(dir.path(), row.seed, row.length, finalBanks);
        ASSERT_TRUE(QFile::exists(path));

        const ToolResult csv = runTool({"show", "--csv", path});
        ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
        QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_GT(lines.size(), 1);
        EXPECT_EQ(lines.takeFirst(), "round,director,contract,change1,change2,change3,change4,bank1,bank2,bank3,bank4");
        std::array<int, 4> before{10000, 10000, 10000, 10000};
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringList cells = lines.at(i).split(',');
            ASSERT_EQ(cells.size(), 11) << lines.at(i).toStdString();
            EXPECT_EQ(cells.at(0).toInt(), i + 1);
            EXPECT_TRUE(QStringList({"Ann", "Klot", "Klock", "Kling"}).contains(cells.at(1)));
            int sum = 0;
            for (std::size_t seat = 0; seat < 4; ++seat) {
                const int bank = cells.at(7 + qsizetype(seat)).toInt();
                EXPECT_EQ(cells.at(3 + qsizetype(seat)).toInt(), bank - before[seat]) << lines.at(i).toStdString();
                before[seat] = bank;
                sum += bank;
            }
            EXPECT_EQ(sum, 40000) << lines.at(i).toStdString();
        }
        EXPECT_EQ(before, finalBanks);

        const ToolResult table = runTool({"show", path});
        ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
        EXPECT_TRUE(table.out.contains("Winner: ")) << table.out.toStdString();
        EXPECT_EQ(table.out.count('\n'), lines.size() + 3) << table.out.toStdString();
    }
}

// A file that is not a record, or a record with a damaged line, is refused with exit status 1 and a
// message naming the problem (and the line).
TEST(GameTool, RefusesWhatItCannotRead)
{
    test::TempDir dir;
    std::array<int, 4> banks{};
    const QString path = recordGame(dir.path(), 1, "s", banks);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> good = file.readAll().split('\n');
    file.close();
    ASSERT_GT(good.size(), 20);

    struct Row {
        const char* what;
        std::function<QByteArray()> content;
        QString message;
    };
    const auto replaced = [&good](int index, const QByteArray& line) {
        QList<QByteArray> lines = good;
        lines[index] = line;
        return lines.join('\n');
    };
    const Row rows[] = {
        {"a text file", [] { return QByteArray("hello\n"); }, "not a game record"},
        {"a missing file", nullptr, "morlu-game"},
        {"a line without its time", [&] { return replaced(12, "CMD_starthand+"); }, "line 13"},
        {"a message that cannot be read", [&] { return replaced(14, "5 CMD_scores+1+x+0"); }, "line 15"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString target = dir.file("test.morlugame");
        QFile::remove(target);
        if (row.content) {
            QFile out(target);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(row.content());
        }
        const ToolResult result = runTool({"show", target});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.contains(row.message)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}

} // namespace
