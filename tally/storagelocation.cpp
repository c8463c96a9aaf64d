#include "storagelocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace morlu {

namespace {

/// The installed desktop entry, relative to the program's folder.
constexpr const char* kInstalledEntry = "../share/applications/io.github.morlu.Morlu.desktop";

} // namespace

bool isInstalledLayout(const QString& programFolder)
{
    const QString name = QFileInfo(programFolder).fileName();
    return (name == QLatin1String("bin") || name == QLatin1String("games")) &&
           QFileInfo::exists(QDir(programFolder).filePath(QString::fromLatin1(kInstalledEntry)));
}

QString storagePath(const QString& fileName, QStandardPaths::StandardLocation fallback)
{
    const QString beside = QCoreApplication::applicationDirPath();
    const QFileInfo folder(beside);
    if (!beside.isEmpty() && folder.isDir() && folder.isWritable() && !isInstalledLayout(beside))
        return QDir(beside).filePath(fileName);
    const QString user = QStandardPaths::writableLocation(fallback);
    QDir().mkpath(user);
    return QDir(user).filePath(fileName);
}

} // namespace morlu
