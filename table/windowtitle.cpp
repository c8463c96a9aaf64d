#include "windowtitle.h"

#include <QFileInfo>

QString WindowTitle::text(StartPlan::Mode mode, const QString& hostName, const QString& address)
{
    const QString game = QStringLiteral("Morlu");
    switch (mode) {
    case StartPlan::Mode::Solo:
        return game + QStringLiteral(" - solo game");
    case StartPlan::Mode::Waiting:
        return game;
    case StartPlan::Mode::Host:
        return hostName.isEmpty() ? game : game + QStringLiteral(" - %1's game").arg(hostName);
    case StartPlan::Mode::Join:
        break;
    }
    if (hostName.isEmpty())
        return address.isEmpty() ? game : game + QStringLiteral(" - game at %1").arg(address);
    return game + QStringLiteral(" - %1's game at %2").arg(hostName, address);
}

QString WindowTitle::replay(const QString& path)
{
    return QStringLiteral("Morlu - replay of %1").arg(QFileInfo(path).fileName());
}
