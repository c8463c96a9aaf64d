#include "tallygrid.h"

#include "elzrw1exception.h"
#include "printers.h"
#include "tallyfile.h"
#include "tempdir.h"
#include "tlzrw1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <ostream>

using morlu::ELzrw1Exception;
using morlu::TallyFile;
using morlu::TallyGrid;
using morlu::TallyGridError;
using morlu::Tlzrw1;
using morlu::test::TempDir;

namespace {

/// The lines joined with CR LF after each.
QByteArray crlf(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

/// Five games, two won; three of them with Klot, who won one, the player one, neither one.
const QStringList kExampleLines = {"9", "2", "0", "Klot", "5", "3", "2", "1", "0", "1",
                                   "0", "1", "0", "3",    "0", "1", "0", "1", "0", "1"};

TallyGrid exampleGrid()
{
    TallyGrid grid;
    grid.setCell(1, 0, "5");
    grid.setCell(2, 0, "2");
    grid.appendRow({"Klot", "3", "1", "1", "1", "3", "1", "1", "1"});
    return grid;
}

TEST(TallyGrid, StartsWithThePlayersRowAtZero)
{
    const TallyGrid grid;
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.row(0), QStringList(9, "0"));
    EXPECT_EQ(grid.toText(), crlf({"9", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(TallyGrid, WritesCellsColumnByColumn)
{
    EXPECT_EQ(exampleGrid().toText(), crlf(kExampleLines));
    const TallyGrid read = TallyGrid::fromText(crlf(kExampleLines));
    EXPECT_EQ(read, exampleGrid());
    EXPECT_EQ(read.cell(0, 1), "Klot");
    EXPECT_EQ(read.cell(4, 1), "1");
}

TEST(TallyGrid, ReadsLinesEndedByLineFeedAlone)
{
    EXPECT_EQ(TallyGrid::fromText(kExampleLines.join('\n').toUtf8()), exampleGrid());
}

TEST(TallyGrid, KeepsNamesAndEmptyCells)
{
    TallyGrid grid = exampleGrid();
    grid.appendRow({QString::fromUtf8("Zoë Ünal"), "", "", "", "", "", "", "", ""});
    grid.appendRow({"  spaced  ", "7"});
    EXPECT_EQ(TallyGrid::fromText(grid.toText()), grid);
    // A line break cannot be kept inside a cell line.
    grid.setCell(0, 1, "Kl\r\not");
    EXPECT_EQ(TallyGrid::fromText(grid.toText()).cell(0, 1), "Kl  ot");
    // Text that is not UTF-8 is read as Latin-1.
    QByteArray latin1 = crlf(kExampleLines);
    latin1.replace("Klot", "Kl\xF6t");
    EXPECT_EQ(TallyGrid::fromText(latin1).cell(0, 1), QString::fromUtf8("Klöt"));
}

TEST(TallyGrid, RemovesRowsButNeverThePlayers)
{
    TallyGrid grid = exampleGrid();
    grid.appendRow({"Ann"});
    grid.appendRow({"Bob"});
    grid.removeRow(2);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.cell(0, 2), "Bob");
    grid.removeRow(0);
    grid.removeRow(7);
    EXPECT_EQ(grid.rowCount(), 3);
    grid.setRowCount(0);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.cell(1, 0), "5");
}

struct MalformedRow {
    const char* name;
    QByteArray text;
};

// Short row names for the test list, instead of the row's bytes.
inline void PrintTo(const MalformedRow& row, std::ostream* os)
{
    *os << row.name;
}

QByteArray exampleWith(int line, const char* replacement)
{
    QStringList lines = kExampleLines;
    lines[line] = replacement;
    return crlf(lines);
}

const MalformedRow kMalformed[] = {
    {"empty", ""},
    {"only the column count", "9\r\n"},
    {"column count 8", exampleWith(0, "8")},
    {"column count 0", exampleWith(0, "0")},
    {"column count not a number", exampleWith(0, "nine")},
    {"column count with a blank", exampleWith(0, " 9")},
    {"row count 0", "9\r\n0\r\n"},
    {"negative row count", exampleWith(1, "-1")},
    {"row count with a plus", exampleWith(1, "+2")},
    {"huge row count", exampleWith(1, "99999999999999999999")},
    {"row count over the limit", exampleWith(1, "10001")},
    {"row count larger than the cells", exampleWith(1, "3")},
    {"cells missing", crlf(kExampleLines.mid(0, 19))},
    {"text after the last cell", crlf(kExampleLines + QStringList{"extra"})},
};

class TallyGridMalformed : public ::testing::TestWithParam<MalformedRow> {};

TEST_P(TallyGridMalformed, IsRefused)
{
    EXPECT_THROW(TallyGrid::fromText(GetParam().text), TallyGridError);
}

INSTANTIATE_TEST_SUITE_P(Texts, TallyGridMalformed, ::testing::ValuesIn(kMalformed),
                         [](const ::testing::TestParamInfo<MalformedRow>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(TallyGrid, ErrorTellsWhatIsWrong)
{
    try {
        TallyGrid::fromText(exampleWith(1, "-1"));
        FAIL();
    } catch (const TallyGridError& error) {
        EXPECT_EQ(error.message(), "Tally grid: line 2: '-1' is not a valid row count (1 to 10000)");
    }
}

TEST(TallyFile, SavesAndLoadsTheGrid)
{
    TempDir dir;
    const QString path = dir.file(TallyFile::fileName());
    EXPECT_EQ(TallyFile::fileName(), "Morlutally.tld");
    const qint64 size = TallyFile::save(exampleGrid(), path);
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_EQ(TallyFile::load(path), exampleGrid());
    // Only the tally file is left: the grid text went through a private folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{TallyFile::fileName()});
}

TEST(TallyFile, RefusesFilesThatAreNotTallies)
{
    TempDir dir;
    EXPECT_THROW(TallyFile::load(dir.file("missing.tld")), ELzrw1Exception);
    QFile junk(dir.file("junk.tld"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a tally file at all");
    junk.close();
    EXPECT_THROW(TallyFile::load(junk.fileName()), ELzrw1Exception);
    // A well compressed file whose text is not a grid.
    QFile text(dir.file("text.tld"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(Tlzrw1::compressData("9\r\n2\r\n0\r\n"));
    text.close();
    EXPECT_THROW(TallyFile::load(text.fileName()), TallyGridError);
}

} // namespace
