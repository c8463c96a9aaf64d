// Runs build/morlu-tally as a separate process; ctest tells where the build folder is.

#include "printers.h"
#include "tempdir.h"
#include "tlzrw1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using morlu::Tlzrw1;
using morlu::test::TempDir;

namespace {

struct ToolResult {
    int exitCode = -1;
    QString out;
    QString err;
};

class TallyTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        // ctest names the build folder; run by hand, the test program lies in the same folder as the tool.
        QString buildDir = qEnvironmentVariable("MORLU_BUILD_DIR");
        if (buildDir.isEmpty())
            buildDir = QCoreApplication::applicationDirPath();
        tool = QDir(buildDir).filePath("morlu-tally");
        ASSERT_TRUE(QFile::exists(tool)) << tool.toStdString();
    }

    ToolResult run(const QStringList& args)
    {
        QProcess process;
        process.start(tool, args);
        EXPECT_TRUE(process.waitForFinished(30000));
        ToolResult result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    void write(const QString& path, const QByteArray& data)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QByteArray read(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QString tool;
    TempDir dir;
};

TEST_F(TallyTool, CompressesAndExpands)
{
    QByteArray data;
    for (int i = 0; i < 5000; ++i)
        data += "line " + QByteArray::number(i % 37) + "\r\n";
    write(dir.file("in.txt"), data);
    const ToolResult packed = run({"compress", dir.file("in.txt"), dir.file("out.tld")});
    EXPECT_EQ(packed.exitCode, 0) << packed.err.toStdString();
    EXPECT_EQ(read(dir.file("out.tld")), Tlzrw1::compressData(data));
    const ToolResult expanded = run({"expand", dir.file("out.tld"), dir.file("back.txt")});
    EXPECT_EQ(expanded.exitCode, 0) << expanded.err.toStdString();
    EXPECT_EQ(read(dir.file("back.txt")), data);
}

TEST_F(TallyTool, ReportsCoderErrorsWithStatus1)
{
    write(dir.file("plain.txt"), "no header here");
    ToolResult result = run({"expand", dir.file("plain.txt"), dir.file("x.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, dir.file("plain.txt") + " : Lzrw1 decompression : this file has no valid header !\n");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(QFile::exists(dir.file("x.txt")));

    result = run({"compress", dir.file("missing.txt"), dir.file("x.tld")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Lzrw1 compression : Failed to obtain the size of : " + dir.file("missing.txt") + "\n");

    result = run({"show", dir.file("plain.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, dir.file("plain.txt") + " : Lzrw1 decompression : this file has no valid header !\n");

    write(dir.file("bad.tld"), Tlzrw1::compressData("9\r\n-4\r\n"));
    result = run({"show", dir.file("bad.tld")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith("Tally grid: line 2:")) << result.err.toStdString();
}

TEST_F(TallyTool, UsageErrorsExitWith2)
{
    for (const QStringList& args :
         {QStringList{}, QStringList{"compress", "a"}, QStringList{"expand"}, QStringList{"show"},
          QStringList{"show", "a", "b"}, QStringList{"unpack", "a", "b"}}) {
        const ToolResult result = run(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("usage: morlu-tally compress IN OUT")) << result.err.toStdString();
    }
}

TEST_F(TallyTool, ShowsTheTallyAsATable)
{
    // The tally of five games, two won, three of them with Klot: Klot won one, the player one, neither one.
    const QByteArray grid = "9\r\n2\r\n0\r\nKlot\r\n5\r\n3\r\n2\r\n1\r\n0\r\n1\r\n0\r\n1\r\n"
                            "0\r\n3\r\n0\r\n1\r\n0\r\n1\r\n0\r\n1\r\n";
    write(dir.file("grid.txt"), grid);
    ASSERT_EQ(run({"compress", dir.file("grid.txt"), dir.file("Morlutally.tld")}).exitCode, 0);
    const ToolResult result = run({"show", dir.file("Morlutally.tld")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(),
              "Your total tally: 5 games, 2 wins\n"
              "         |     Total                               |   Session\n"
              "Opponent |     games  his wins your wins   neither |     games  his wins your wins   neither\n"
              "Klot     |         3         1         1         1 |         3         1         1         1\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(TallyTool, ShowsATallyWithoutOpponents)
{
    struct Row {
        const char* games;
        const char* wins;
        const char* said;
    };
    for (const Row& row : {Row{"0", "0", "0 games, 0 wins"}, Row{"1", "1", "1 game, 1 win"}}) {
        write(dir.file("grid.txt"),
              QByteArray("9\r\n1\r\n0\r\n") + row.games + "\r\n" + row.wins + "\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
        ASSERT_EQ(run({"compress", dir.file("grid.txt"), dir.file("t.tld")}).exitCode, 0);
        const ToolResult result = run({"show", dir.file("t.tld")});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, QStringLiteral("Your total tally: %1\nNo players are being tallied.\n").arg(row.said));
    }
}

/// A compressed file that states @p size bytes and holds one short block: cheap to make, huge to expand.
QByteArray statingSize(quint32 size)
{
    QByteArray file = Tlzrw1::compressData(QByteArray(100, 'x'));
    for (int i = 0; i < 4; ++i)
        file[4 + i] = char((size >> (8 * i)) & 0xFF);
    return file;
}

TEST_F(TallyTool, RefusesInputsItCannotBoundAndCutsWhatItPrints)
{
    write(dir.file("huge.tld"), statingSize(256u << 20));
    write(dir.file("edge.tld"), statingSize((16u << 20) + 1));
    // A grid whose bad line is a megabyte long: its error message quotes it.
    write(dir.file("longline.txt"), "9\r\n" + QByteArray(1 << 20, 'z') + "\r\n");
    ASSERT_EQ(run({"compress", dir.file("longline.txt"), dir.file("longline.tld")}).exitCode, 0);
    struct Row {
        QStringList args;
        QString errStart;
    };
    const std::vector<Row> rows{
        {{"compress", "/dev/zero", dir.file("z.tld")}, "Lzrw1 compression : Failed to obtain the size of : /dev/zero"},
        {{"compress", dir.path(), dir.file("z.tld")}, "Lzrw1 compression : Failed to obtain the size of : "},
        {{"expand", "/dev/zero", dir.file("z.txt")}, "Lzrw1 (de)compression : Failed to open input file : /dev/zero"},
        {{"show", "/dev/zero"}, "Lzrw1 (de)compression : Failed to open input file : /dev/zero"},
        {{"show", dir.file("huge.tld")}, dir.file("huge.tld") + " : Lzrw1 decompression : the stored size 268435456"},
        {{"show", dir.file("edge.tld")}, dir.file("edge.tld") + " : Lzrw1 decompression : the stored size 16777217"},
        {{"show", dir.file("longline.tld")}, "Tally grid: line 2: 'zzz"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const ToolResult result = run(row.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.startsWith(row.errStart)) << result.err.left(300).toStdString();
        EXPECT_LE(result.err.toUtf8().size(), 200 + 4) << "cut to 200 bytes, '...' and the line end";
    }
}

TEST_F(TallyTool, ShowEscapesControlCharactersInCells)
{
    write(dir.file("grid.txt"), "9\r\n2\r\n0\r\nK\x1b[2Jlot\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                                "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    ASSERT_EQ(run({"compress", dir.file("grid.txt"), dir.file("t.tld")}).exitCode, 0);
    const ToolResult result = run({"show", dir.file("t.tld")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("K\\x1b[2Jlot")) << result.out.toStdString();
    EXPECT_FALSE(result.out.contains(QChar(0x1b)));
}

} // namespace
