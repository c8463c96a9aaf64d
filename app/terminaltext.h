#pragma once

#include <QString>

namespace morlu {

/**
 * A text read from a file as it may go to a terminal, for the command-line tools: control characters
 * are written as "\xNN" and invisible format characters and line separators as "\uNNNN", so a hostile
 * name cannot move the cursor, clear the screen or break a line.
 */
inline QString printable(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Format || u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace morlu
