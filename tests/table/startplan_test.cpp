#include "startplan.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Mode = StartPlan::Mode;

struct PlanCase {
    QStringList arguments;
    Mode mode;
    const char* myname;
    const char* hostaddress;
    bool lobby;
};

// Short row names for the test list, instead of the row's bytes.
inline void PrintTo(const PlanCase& row, std::ostream* os)
{
    *os << "[" << row.arguments.join(QLatin1Char(' ')).toStdString() << "]";
}

class StartPlanFromArguments : public ::testing::TestWithParam<PlanCase> {};

TEST_P(StartPlanFromArguments, DecidesSoloHostJoinOrWait)
{
    const PlanCase& c = GetParam();
    const StartPlan plan = StartPlan::fromArguments(c.arguments);
    EXPECT_EQ(plan.mode, c.mode);
    EXPECT_EQ(plan.myname, QString::fromLatin1(c.myname));
    EXPECT_EQ(plan.hostaddress, QString::fromLatin1(c.hostaddress));
    EXPECT_EQ(plan.openLobby, c.lobby);
    EXPECT_EQ(plan.loadingLine(), c.mode == Mode::Solo ? QStringLiteral("0+Loading Solo Game..Please wait.")
                                                       : QStringLiteral("0+Loading Multi-player Game.. Please Wait."));
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartPlanFromArguments,
    ::testing::Values(PlanCase{{}, Mode::Solo, "You", "127.0.0.1", false},
                      PlanCase{{"Ann"}, Mode::Waiting, "", "", false},
                      PlanCase{{"Ann", "10.0.0.5"}, Mode::Waiting, "", "", false},
                      PlanCase{{"Ann", "10.0.0.5", "true"}, Mode::Host, "Ann", "10.0.0.5", true},
                      PlanCase{{"Ann", "10.0.0.5", "false"}, Mode::Join, "Ann", "10.0.0.5", true},
                      PlanCase{{"Ann", "10.0.0.5", "True"}, Mode::Join, "Ann", "10.0.0.5", true},
                      PlanCase{{"Ann", "10.0.0.5", "TRUE"}, Mode::Join, "Ann", "10.0.0.5", true},
                      PlanCase{{"Ann", "10.0.0.5", "true", "extra"}, Mode::Host, "Ann", "10.0.0.5", true},
                      PlanCase{{"", "", ""}, Mode::Join, "", "", true}));

} // namespace
