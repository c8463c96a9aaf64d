#include "singleinstance.h"

#include "printers.h"
#include "tempdir.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kWait = 10000;

/// Sets an environment variable while it lives (unset for an empty value).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

/// A private temporary directory and runtime folder (0700) while it lives.
class PrivateFolders {
public:
    PrivateFolders() : m_tmp("TMPDIR", m_tmpDir.path()), m_runtime("XDG_RUNTIME_DIR", runtimePath())
    {
        ::chmod(QFile::encodeName(runtimePath()).constData(), 0700);
    }
    QString runtimePath() const { return m_runtimeDir.path(); }
    QString tmpPath() const { return m_tmpDir.path(); }

private:
    morlu::test::TempDir m_tmpDir;
    morlu::test::TempDir m_runtimeDir;
    ScopedEnv m_tmp;
    ScopedEnv m_runtime;
};

QString ownTmpFolder(const QString& tmp)
{
    return QDir(tmp).filePath(QStringLiteral("morlu-%1").arg(::geteuid()));
}

// Where the guard lives: the runtime folder when it is the user's own, else morlu-UID in the temporary
// directory, made 0700; a folder others may write in, or a plain file in its place, is never used.
TEST(SingleInstance, TheGuardLivesOnlyInAFolderOfTheUserAlone)
{
    struct Row {
        const char* name;
        bool runtimeSet;
        mode_t runtimeMode;
        enum { Nothing, OpenFolder, PlainFile } tmpHolds;
        enum { Runtime, OwnTmp, None } expected;
    };
    const Row rows[] = {
        {"runtime folder", true, 0700, Row::Nothing, Row::Runtime},
        {"no runtime folder", false, 0700, Row::Nothing, Row::OwnTmp},
        {"runtime folder others may write", true, 0777, Row::Nothing, Row::OwnTmp},
        {"morlu-UID others may write", false, 0700, Row::OpenFolder, Row::None},
        {"morlu-UID is a file", false, 0700, Row::PlainFile, Row::None},
    };
    for (const Row& row : rows) {
        PrivateFolders folders;
        ::chmod(QFile::encodeName(folders.runtimePath()).constData(), row.runtimeMode);
        ScopedEnv runtime("XDG_RUNTIME_DIR", row.runtimeSet ? folders.runtimePath() : QString());
        const QString own = ownTmpFolder(folders.tmpPath());
        if (row.tmpHolds == Row::OpenFolder) {
            ASSERT_TRUE(QDir().mkdir(own));
            ::chmod(QFile::encodeName(own).constData(), 0777);
        } else if (row.tmpHolds == Row::PlainFile) {
            QFile file(own);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QString expected = row.expected == Row::Runtime ? folders.runtimePath()
                                 : row.expected == Row::OwnTmp ? own
                                                               : QString();
        EXPECT_EQ(SingleInstance::privateFolder(), expected) << row.name;
        if (row.expected == Row::OwnTmp) {
            EXPECT_EQ(QFile::permissions(own) & 0x0077, 0) << row.name;
        }
        SingleInstance first(QStringLiteral("qelsor-test"));
        EXPECT_TRUE(first.claim()) << row.name;
        EXPECT_EQ(first.serverPath(), expected.isEmpty() ? QString() : QDir(expected).filePath(QStringLiteral("qelsor-test")))
            << row.name;
    }
}

TEST(SingleInstance, ASecondProgramBringsTheFirstWindowForwardAndGivesWay)
{
    PrivateFolders folders;
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

// Whatever another user leaves in the shared temporary directory (a socket or a file named like the
// guard) neither stops nor disables it; a name left by a crashed program of the user is taken over;
// a program that holds the lock but does not listen yet (starting this very moment) still wins.
TEST(SingleInstance, OnlyALiveHolderOfTheLockMakesAStartGiveWay)
{
    PrivateFolders folders;
    const QString shared = QDir(folders.tmpPath()).filePath(QStringLiteral("qelsor-test"));
    {
        QFile file(shared);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QFile stale(QDir(folders.runtimePath()).filePath(QStringLiteral("qelsor-test")));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    {
        SingleInstance instance(QStringLiteral("qelsor-test"));
        EXPECT_TRUE(instance.claim());
        EXPECT_EQ(instance.serverPath(), QDir(folders.runtimePath()).filePath(QStringLiteral("qelsor-test")));
        SingleInstance later(QStringLiteral("qelsor-test"));
        EXPECT_FALSE(later.claim());
    }

    QLockFile starting(QDir(folders.runtimePath()).filePath(QStringLiteral("qelsor-test.lock")));
    ASSERT_TRUE(starting.tryLock(0));
    SingleInstance racing(QStringLiteral("qelsor-test"));
    EXPECT_FALSE(racing.claim());
}

TEST(SingleInstance, SeparateRuntimeFoldersGiveSeparateInstances)
{
    auto first = std::make_unique<PrivateFolders>();
    SingleInstance one(QStringLiteral("qelsor-test"));
    EXPECT_TRUE(one.claim());
    first.reset();
    PrivateFolders second;
    SingleInstance two(QStringLiteral("qelsor-test"));
    EXPECT_TRUE(two.claim());
    EXPECT_NE(one.serverPath(), two.serverPath());
}

} // namespace
