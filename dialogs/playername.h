#pragma once

#include <QString>

namespace playername {

/// Empty when @p name can be the player's name at a table, else why not, in words for the player.
inline QString error(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("Type your name.");
    // The program's own options begin with "--": a name must never be taken for one.
    if (trimmed.startsWith(QLatin1Char('-')))
        return QStringLiteral("A name cannot begin with \"-\".");
    return QString();
}

} // namespace playername
