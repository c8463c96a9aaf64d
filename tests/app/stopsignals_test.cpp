#include "printers.h"
#include "serverprocess.h"
#include "tempdir.h"
#include "waituntil.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

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

TEST_P(StopSignalsTest, ASoloTableClosesAndEndsInOrder)
{
    TempDir dir;
    QProcess table;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A private TMPDIR gives the table its own single-instance name, which also tells when it is up.
    environment.insert(QStringLiteral("TMPDIR"), dir.path());
    table.setProcessEnvironment(environment);
    table.start(ServerProcess::program(), {QStringLiteral("--port"), QStringLiteral("0")});
    ASSERT_TRUE(table.waitForStarted(10000));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(dir.file(QStringLiteral("qelsor"))); }, 10000));
    ::kill(pid_t(table.processId()), GetParam().signal);
    ASSERT_TRUE(table.waitForFinished(10000));
    EXPECT_EQ(table.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(table.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Program, StopSignalsTest,
                         ::testing::Values(StopRow{"Interrupt", SIGINT}, StopRow{"Terminate", SIGTERM},
                                           StopRow{"HangUp", SIGHUP}),
                         [](const ::testing::TestParamInfo<StopRow>& info) { return std::string(info.param.name); });

} // namespace
