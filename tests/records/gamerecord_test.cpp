#include "gamerecord.h"
#include "gamesummary.h"
#include "printers.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace morlu;

// Every received line, whatever it holds, is one line of the file and comes back unchanged.
TEST(GameRecord, WritesAndReadsBackEveryLine)
{
    struct Row {
        std::string line;
        std::string escaped;
    };
    const Row rows[] = {
        {"CMD_placecard+2+17+3+t+", "CMD_placecard+2+17+3+t+"},
        {"CMD_chat+Ann+a\\b", "CMD_chat+Ann+a\\\\b"},
        {"CMD_chat+Ann+one\r\ntwo", "CMD_chat+Ann+one\\r\\ntwo"},
        {"CMD_chat+Ann+\\n is not a line feed", "CMD_chat+Ann+\\\\n is not a line feed"},
        {"CMD_chat+Zoë+ÿ ünïcode", "CMD_chat+Zoë+ÿ ünïcode"},
        {"", ""},
        {"trailing\\", "trailing\\\\"},
    };
    test::TempDir dir;
    const QString path = dir.file("game.morlugame");
    GameRecordWriter writer;
    ASSERT_TRUE(writer.open(path, {{"host", "10.0.0.1"}, {"name1", "Line\nbreak"}}));
    qint64 ms = 0;
    for (const Row& row : rows) {
        EXPECT_EQ(gamerecord::escape(row.line), row.escaped);
        EXPECT_TRUE(writer.append(ms += 7, row.line));
    }
    ASSERT_TRUE(writer.close(false));

    const GameRecordRead read = readGameRecord(path);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_FALSE(read.record.unfinished);
    EXPECT_EQ(read.record.header("host"), "10.0.0.1");
    EXPECT_EQ(read.record.header("name1"), "Line\nbreak");
    ASSERT_EQ(read.record.lines.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(read.record.lines[i].text, rows[i].line);
        EXPECT_EQ(read.record.lines[i].milliseconds, qint64(7 * (i + 1)));
    }
}

// A file that is not a record, or a record with a damaged line, is refused, naming the line; what came
// before a damaged line is kept.
TEST(GameRecord, RefusesWhatIsNotARecordAndNamesTheDamagedLine)
{
    struct Row {
        const char* what;
        QByteArray bytes;
        int errorLine;
        std::size_t linesKept;
        bool unfinished;
    };
    const QByteArray head = "# Morlu game record 1\n# host: x\n";
    const Row rows[] = {
        {"a whole record", head + "0 CMD_starthand+\n5 CMD_winner+Ann+\n", 0, 2, false},
        {"an unfinished one", head + "0 CMD_starthand+\n# unfinished\n", 0, 1, true},
        {"empty", "", 1, 0, false},
        {"a tally", "\x01\x02\x03binary", 1, 0, false},
        {"another version", "# Morlu game record 2\n0 CMD_starthand+\n", 1, 0, false},
        {"no time", head + "0 CMD_starthand+\nCMD_starthand+\n", 4, 1, false},
        {"a negative time", head + "-5 CMD_starthand+\n", 3, 0, false},
        {"a time that is not a number", head + "12x CMD_starthand+\n", 3, 0, false},
        {"an unknown escape", head + "0 CMD_starthand+\n1 CMD_chat+a\\tb\n", 4, 1, false},
        {"a cut escape", head + "1 CMD_chat+a\\\n", 3, 0, false},
        {"a damaged header", head + "# nokey\n", 3, 0, false},
        {"lines after the end", head + "# unfinished\n0 CMD_starthand+\n", 4, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const GameRecordRead read = parseGameRecord(row.bytes);
        EXPECT_EQ(read.errorLine, row.errorLine);
        EXPECT_EQ(read.ok(), row.errorLine == 0) << read.error.toStdString();
        if (row.errorLine > 1) {
            EXPECT_TRUE(read.error.contains(QStringLiteral("line %1").arg(row.errorLine))) << read.error.toStdString();
        }
        EXPECT_EQ(read.record.lines.size(), row.linesKept);
        EXPECT_EQ(read.record.unfinished, row.unfinished);
    }
}

// The rounds as the messages tell them: the banks after each round and the change over it.
TEST(GameRecord, SummarizesTheRounds)
{
    struct Row {
        const char* what;
        std::vector<std::string> lines;
        std::vector<RoundSummary> rounds;
        QString winner;
        int errorLine;
    };
    const Row rows[] = {
        {"two rounds and a winner",
         {"CMD_startgame+Ann+s+", "CMD_startround+1+1+", "CMD_choosehand+1+3+0+", "CMD_scores+1+9800+-200+2+10200+200+3+10000+0+4+10000+0",
          "CMD_scores+1+9600+-200+2+10400+200+3+10000+0+4+10000+0", "CMD_startround+2+2+", "CMD_choosehand+2+6+0+",
          "CMD_scores+1+9600+0+2+10400+0+3+10800+800+4+9200+-800", "CMD_winner+Bob+"},
         {{1, 1, 3, {-400, 400, 0, 0}, {9600, 10400, 10000, 10000}}, {2, 2, 6, {0, 0, 800, -800}, {9600, 10400, 10800, 9200}}},
         "Bob",
         0},
        {"a game cut short",
         {"CMD_startround+3+1+", "CMD_choosehand+3+1+0+", "CMD_scores+1+10000+0+2+10000+0+3+9200+-800+4+10800+800"},
         {{1, 3, 1, {0, 0, -800, 800}, {10000, 10000, 9200, 10800}}},
         {},
         0},
        {"a damaged message", {"CMD_startround+1+1+", "CMD_scores+1+x+0"}, {}, {}, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameRecord record;
        int fileLine = 2;
        for (const std::string& line : row.lines)
            record.lines.push_back({0, line, ++fileLine});
        const GameSummary summary = summarizeGame(record);
        EXPECT_EQ(summary.errorLine, row.errorLine);
        if (row.errorLine == 0) {
            EXPECT_EQ(summary.rounds, row.rounds);
        }
        EXPECT_EQ(summary.winner, row.winner);
    }
}

// A seat the record's header names "<Waiting>" was the computer's, as records of a first game said.
TEST(GameRecord, SummaryNamesTheComputerPlayers)
{
    GameRecord record;
    record.headers = {{"name1", "Ann"}, {"name2", "<Waiting>"}, {"name3", "Bea"}};
    const GameSummary summary = summarizeGame(record);
    const std::array<QString, 4> expected{"Ann", "Klot", "Bea", ""};
    EXPECT_EQ(summary.names, expected);
}

} // namespace
