#include "singleinstance.h"

#include "printers.h"
#include "tempdir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr int kWait = 10000;

/// Points the temporary directory at a private folder while it lives.
class PrivateTmp {
public:
    PrivateTmp() : m_old(qgetenv("TMPDIR")) { qputenv("TMPDIR", m_dir.path().toLocal8Bit()); }
    ~PrivateTmp() { qputenv("TMPDIR", m_old); }
    QString path() const { return m_dir.path(); }

private:
    morlu::test::TempDir m_dir;
    QByteArray m_old;
};

TEST(SingleInstance, TheFirstProgramClaimsTheNameInTheTemporaryDirectory)
{
    PrivateTmp tmp;
    ASSERT_EQ(QDir::tempPath(), QDir(tmp.path()).canonicalPath());
    SingleInstance first;
    EXPECT_TRUE(first.claim());
    EXPECT_EQ(first.serverPath(), QDir(QDir::tempPath()).filePath(QStringLiteral("qelsor")));
    EXPECT_TRUE(QFile::exists(first.serverPath()));
}

TEST(SingleInstance, ASecondProgramBringsTheFirstWindowForwardAndGivesWay)
{
    PrivateTmp tmp;
    QWidget window;
    window.showMinimized();
    SingleInstance first(QStringLiteral("qelsor-test"));
    ASSERT_TRUE(first.claim());
    first.setWindow(&window);
    QSignalSpy asked(&first, &SingleInstance::activationRequested);

    SingleInstance second(QStringLiteral("qelsor-test"));
    EXPECT_FALSE(second.claim());
    ASSERT_TRUE(asked.wait(kWait));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST(SingleInstance, SeparateTemporaryDirectoriesGiveSeparateInstances)
{
    auto first = std::make_unique<PrivateTmp>();
    SingleInstance one(QStringLiteral("qelsor-test"));
    EXPECT_TRUE(one.claim());
    first.reset();
    PrivateTmp second;
    SingleInstance two(QStringLiteral("qelsor-test"));
    EXPECT_TRUE(two.claim());
    EXPECT_NE(one.serverPath(), two.serverPath());
}

TEST(SingleInstance, ANameLeftByACrashedProgramIsTakenOver)
{
    PrivateTmp tmp;
    const QString stale = QDir(QDir::tempPath()).filePath(QStringLiteral("qelsor-test"));
    {
        QFile file(stale);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    SingleInstance instance(QStringLiteral("qelsor-test"));
    EXPECT_TRUE(instance.claim());
    EXPECT_EQ(instance.serverPath(), stale);

    SingleInstance later(QStringLiteral("qelsor-test"));
    EXPECT_FALSE(later.claim());
}

} // namespace
