#include "stopsignals.h"

#include "printers.h"
#include "serverprocess.h"
#include "tallyfile.h"
#include "tallystore.h"
#include "tempdir.h"
#include "waituntil.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

using namespace morlu::test;

namespace {

struct StopRow {
    const char* name;
    int signal;
};

class StopSignalsTest : public ::testing::TestWithParam<StopRow> {};

TEST_P(StopSignalsTest, TheServerEndsInOrder)
{
    ServerProcess server;
    server.start({"--port", "0"});
    ASSERT_NE(server.waitListening(), 0);
    ::kill(pid_t(server.process().processId()), GetParam().signal);
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.process().exitCode(), 0);
}

// The table runs from a copy of the program in a folder of its own, so it keeps its tally beside itself.
// The tally there holds counts of a past run, which a start sets back to 0 in memory only: a file that
// reads 0 afterwards was written on the way out.
TEST_P(StopSignalsTest, ASoloTableClosesEndsInOrderAndSavesItsTally)
{
    TempDir dir;
    const QString program = dir.file(QStringLiteral("morlu"));
    ASSERT_TRUE(QFile::copy(ServerProcess::program(), program));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString tally = dir.file(morlu::TallyFile::fileName());
    morlu::TallyGrid grid;
    grid.appendRow({QStringLiteral("Klot"), "3", "1", "2", "0", "3", "1", "2", "0"});
    morlu::TallyFile::save(grid, tally);

    QProcess table;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A private runtime folder gives the table its own single-instance name, which also tells when it is up.
    environment.insert(QStringLiteral("TMPDIR"), dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    table.setProcessEnvironment(environment);
    table.start(program, {QStringLiteral("--port"), QStringLiteral("0")});
    ASSERT_TRUE(table.waitForStarted(10000));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(dir.file(QStringLiteral("qelsor"))); }, 10000));
    ::kill(pid_t(table.processId()), GetParam().signal);
    ASSERT_TRUE(table.waitForFinished(10000));
    EXPECT_EQ(table.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(table.exitCode(), 0);
    morlu::TallyStore saved;
    saved.load(tally);
    EXPECT_TRUE(saved.loadError().isEmpty());
    EXPECT_EQ(saved.tallied(), QStringList{QStringLiteral("Klot")});
    EXPECT_EQ(saved.record(0), (QStringList{"3", "1", "2", "0", "0", "0", "0", "0"}));
}

// A second SIGINT or SIGTERM after any stop signal ends the program at once, by that signal; a second
// hang-up only asks again.
TEST(StopSignals, ASecondInterruptOrTerminateEndsTheProgramAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Row {
        const char* name;
        int first;
        int second;
        int killedBy; ///< 0: the program goes on
    };
    const Row rows[] = {
        {"interrupt twice", SIGINT, SIGINT, SIGINT},
        {"terminate after interrupt", SIGINT, SIGTERM, SIGTERM},
        {"interrupt after hang-up", SIGHUP, SIGINT, SIGINT},
        {"hang-up twice", SIGHUP, SIGHUP, 0},
    };
    for (const Row& row : rows) {
        const auto twice = [&row] {
            morlu::StopSignals stop;
            ::raise(row.first);
            ::raise(row.second);
            ::_exit(0);
        };
        if (row.killedBy != 0)
            EXPECT_EXIT(twice(), ::testing::KilledBySignal(row.killedBy), "") << row.name;
        else
            EXPECT_EXIT(twice(), ::testing::ExitedWithCode(0), "") << row.name;
    }
}

// The handler leaves errno as the interrupted code had it, also when its write fails (the socket pair is
// full because the event loop has not read yet).
TEST(StopSignals, TheHandlerKeepsErrno)
{
    morlu::StopSignals stop;
    bool kept = true;
    for (int i = 0; i < 100000 && kept; ++i) {
        errno = EDOM;
        ::raise(SIGHUP);
        kept = errno == EDOM;
    }
    EXPECT_TRUE(kept);
    // The event loop takes what the handler wrote, so the next test finds the pair empty.
    QCoreApplication::processEvents();
}

INSTANTIATE_TEST_SUITE_P(Program, StopSignalsTest,
                         ::testing::Values(StopRow{"Interrupt", SIGINT}, StopRow{"Terminate", SIGTERM},
                                           StopRow{"HangUp", SIGHUP}),
                         [](const ::testing::TestParamInfo<StopRow>& info) { return std::string(info.param.name); });

} // namespace
