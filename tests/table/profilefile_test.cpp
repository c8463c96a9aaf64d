#include "profilefile.h"

#include "printers.h"
#include "tempdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace morlu::test;

namespace {

/// A file as the lobby program and older tables leave it: CR LF, other sections, comments, odd spacing.
const QByteArray kShared = "; shared by the games of the lobby\r\n"
                           "[Lobby]\r\n"
                           "Server=lobby.example.net\r\n"
                           "Top=99\r\n"
                           "\r\n"
                           "[MORLU]\r\n"
                           "  TextSize = 12 \r\n"
                           "Textcolor=\"clRed\"\r\n"
                           "; the window\r\n"
                           "Top=40\r\n"
                           "\r\n"
                           "[Other]\r\n"
                           "Name=Fran\xE7oise\r\n";

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ProfileFile, ReadsOneKeyIgnoringCaseBlanksAndQuotes)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("kavrinlobby.ini"));
    put(path, kShared);
    const ProfileFile file(path);
    struct Row {
        const char* section;
        const char* key;
        QString expected;
    };
    for (const Row& row : {
             Row{"Morlu", "Textsize", QStringLiteral("12")},
             Row{"morlu", "TEXTSIZE", QStringLiteral("12")},
             Row{"Morlu", "Textcolor", QStringLiteral("clRed")},
             Row{"Morlu", "Top", QStringLiteral("40")},
             Row{"Lobby", "Top", QStringLiteral("99")},
             Row{"Morlu", "Server", QStringLiteral("(none)")},
             Row{"Morlu", "Missing", QStringLiteral("(none)")},
             Row{"Nowhere", "Top", QStringLiteral("(none)")},
             Row{"Other", "Name", QStringLiteral("Fran\u00E7oise")},
         }) {
        EXPECT_EQ(
            file.readString(QString::fromLatin1(row.section), QString::fromLatin1(row.key), QStringLiteral("(none)")),
            row.expected)
            << row.section << "/" << row.key;
    }
    EXPECT_EQ(ProfileFile(dir.file(QStringLiteral("none.ini")))
                  .readString(QStringLiteral("Morlu"), QStringLiteral("Top"), QStringLiteral("3")),
              QStringLiteral("3"));
}

TEST(ProfileFile, WritesChangeOnlyTheirOwnLineAndKeepEveryOtherByte)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("kavrinlobby.ini"));
    put(path, kShared);
    ProfileFile file(path);
    ASSERT_TRUE(file.writeString(QStringLiteral("morlu"), QStringLiteral("TOP"), QStringLiteral("7")));
    ASSERT_TRUE(file.writeString(QStringLiteral("Morlu"), QStringLiteral("Width"), QStringLiteral("800")));
    ASSERT_TRUE(file.writeString(QStringLiteral("Fresh"), QStringLiteral("Key"), QStringLiteral("J\u00FCrgen")));
    QByteArray expected = kShared;
    expected.replace("Top=40\r\n\r\n[Other]", "Top=7\r\nWidth=800\r\n\r\n[Other]");
    expected += "[Fresh]\r\nKey=J\xFC"
                "rgen\r\n";
    EXPECT_EQ(contents(path), expected);
    EXPECT_EQ(file.readString(QStringLiteral("Fresh"), QStringLiteral("Key")), QStringLiteral("J\u00FCrgen"));
}

TEST(ProfileFile, CreatesAMissingFileAndKeepsTextOutsideTheWesternSetAsUtf8)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("new.ini"));
    ProfileFile file(path);
    ASSERT_TRUE(file.writeString(QStringLiteral("Morlu"), QStringLiteral("Phrase1"), QStringLiteral("Hi")));
    ASSERT_TRUE(file.writeString(QStringLiteral("Morlu"), QStringLiteral("Phrase2"),
                                 QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442")));
    EXPECT_EQ(contents(path),
              QByteArray("[Morlu]\nPhrase1=Hi\nPhrase2=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n"));
    EXPECT_EQ(file.readString(QStringLiteral("Morlu"), QStringLiteral("Phrase2")),
              QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442"));
    // A file without a final line break gets one before the new line.
    put(path, "[Morlu]\nTop=1");
    ASSERT_TRUE(file.writeString(QStringLiteral("Morlu"), QStringLiteral("Left"), QStringLiteral("2")));
    EXPECT_EQ(contents(path), QByteArray("[Morlu]\nTop=1\nLeft=2\n"));
}

// A change set is read once and written once: nothing reaches the file before save(), then all of it
// does, in the same bytes a write per key would have left.
TEST(ProfileFile, AChangeSetIsWrittenAtOnceBySave)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("kavrinlobby.ini"));
    put(path, kShared);
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    file.setString(QStringLiteral("morlu"), QStringLiteral("TOP"), QStringLiteral("7"));
    file.setString(QStringLiteral("Morlu"), QStringLiteral("Width"), QStringLiteral("800"));
    file.setString(QStringLiteral("Fresh"), QStringLiteral("Key"), QStringLiteral("J\u00FCrgen"));
    EXPECT_EQ(contents(path), kShared);
    EXPECT_EQ(file.readString(QStringLiteral("Morlu"), QStringLiteral("Width")), QStringLiteral("800"));
    ASSERT_TRUE(file.save());
    QByteArray expected = kShared;
    expected.replace("Top=40\r\n\r\n[Other]", "Top=7\r\nWidth=800\r\n\r\n[Other]");
    expected += "[Fresh]\r\nKey=J\xFC"
                "rgen\r\n";
    EXPECT_EQ(contents(path), expected);
}

// A file that cannot be written, or that is there and cannot be read, is reported with a reason and left
// exactly as it was.
TEST(ProfileFile, AFileThatCannotBeWrittenOrReadIsReportedAndLeftAlone)
{
    TempDir dir;
    const QString folderInTheWay = dir.file(QStringLiteral("kavrinlobby.ini"));
    ASSERT_TRUE(QDir().mkdir(folderInTheWay));
    const QString paths[] = {dir.file(QStringLiteral("missing-folder/kavrinlobby.ini")), folderInTheWay};
    for (const QString& path : paths) {
        ProfileFile file(path);
        EXPECT_FALSE(file.writeString(QStringLiteral("Morlu"), QStringLiteral("Top"), QStringLiteral("1"))) << path.toStdString();
        EXPECT_FALSE(file.errorString().isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folderInTheWay).isDir());
    EXPECT_TRUE(QDir(folderInTheWay).isEmpty());
}

} // namespace
