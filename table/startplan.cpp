#include "startplan.h"

QString StartPlan::loadingLine() const
{
    return mode == Mode::Solo ? QStringLiteral("0+Loading Solo Game..Please wait.")
                              : QStringLiteral("0+Loading Multi-player Game.. Please Wait.");
}

StartPlan StartPlan::fromArguments(const QStringList& arguments)
{
    StartPlan plan;
    if (arguments.isEmpty()) {
        plan.myname = QStringLiteral("You");
        plan.hostaddress = QStringLiteral("127.0.0.1");
        return plan;
    }
    plan.mode = Mode::Waiting;
    if (arguments.size() < 3)
        return plan;
    plan.myname = arguments.at(0);
    plan.hostaddress = arguments.at(1);
    plan.mode = arguments.at(2) == QLatin1String("true") ? Mode::Host : Mode::Join;
    plan.openLobby = true;
    return plan;
}
