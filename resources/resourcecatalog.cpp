#include "resourcecatalog.h"

QStringList ResourceCatalog::gameSoundNames()
{
    return {QStringLiteral("entered"),       QStringLiteral("placecard"), QStringLiteral("error"),
            QStringLiteral("lostmoney"),     QStringLiteral("gotmoney"),  QStringLiteral("choosecontract"),
            QStringLiteral("clickcontract"), QStringLiteral("turn"),      QStringLiteral("turnnew"),
            QStringLiteral("startround"),    QStringLiteral("winner")};
}

QStringList ResourceCatalog::chatterSoundNames()
{
    QStringList names;
    for (int i = 1; i <= 20; ++i)
        names << QStringLiteral("wave%1").arg(i);
    return names;
}

QString ResourceCatalog::soundPath(const QString& name)
{
    return QStringLiteral(":/sounds/") + name.toLower() + QStringLiteral(".wav");
}

QStringList ResourceCatalog::artFiles()
{
    return {QStringLiteral("board.jpg"),         QStringLiteral("tile.jpg"),
            QStringLiteral("instructions1.jpg"), QStringLiteral("instructions2.jpg"),
            QStringLiteral("instructions3.jpg"), QStringLiteral("instructions4.jpg")};
}

QString ResourceCatalog::artPath(const QString& fileName)
{
    return QStringLiteral(":/art/") + fileName;
}
