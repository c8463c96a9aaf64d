#pragma once

#include <QStandardPaths>
#include <QString>

namespace morlu {

/**
 * Where the program keeps a file of its own (the tally, the settings): beside the program when the
 * program lives in a folder of its own that may be written to, as when it was unpacked and started from
 * there; otherwise in the user's @p fallback folder, created when missing. An installed program (its
 * folder is a "bin" folder, or "games" as in a Debian package, with the desktop entry under
 * "../share/applications") always uses the
 * user's folder, even when run by someone who could write to the system's folders.
 */
QString storagePath(const QString& fileName, QStandardPaths::StandardLocation fallback);

/// True when @p programFolder is the "bin" or "games" folder of an installed copy of the program.
bool isInstalledLayout(const QString& programFolder);

} // namespace morlu
