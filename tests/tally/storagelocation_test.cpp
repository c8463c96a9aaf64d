#include "storagelocation.h"

#include "tempdir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace morlu;
using namespace morlu::test;

namespace {

TEST(StorageLocation, OnlyABinOrGamesFolderBesideTheInstalledDesktopEntryIsAnInstalledCopy)
{
    struct Row {
        const char* folder;
        bool withEntry;
        bool installed;
    };
    for (const Row& row : {Row{"prefix/bin", true, true}, Row{"prefix/bin", false, false},
                           Row{"prefix/games", true, true}, Row{"prefix/games", false, false},
                           Row{"prefix/game", true, false}, Row{"unpacked", false, false}}) {
        TempDir dir;
        const QString folder = dir.file(QString::fromLatin1(row.folder));
        ASSERT_TRUE(QDir().mkpath(folder));
        if (row.withEntry) {
            const QString applications = QDir(folder).filePath(QStringLiteral("../share/applications"));
            ASSERT_TRUE(QDir().mkpath(applications));
            QFile entry(QDir(applications).filePath(QStringLiteral("io.github.morlu.Morlu.desktop")));
            ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(isInstalledLayout(folder), row.installed) << row.folder << " " << row.withEntry;
    }
}

} // namespace
