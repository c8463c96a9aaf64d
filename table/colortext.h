#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <optional>

/**
 * Colours written as text, as they travel in chat lines and stand in the settings file: a colour name
 * such as "clBlack" or "clBtnFace", or an integer (decimal, or hexadecimal after a "$") holding the value
 * 0x00BBGGRR, red in the low byte. Values 0x80000000 + n stand for the desktop's system colour n (0 to
 * 24); "clNone" is 0x1FFFFFFF.
 */
class ColorText {
public:
    /** The value of @p text: a name compared without regard to case, else an integer; nothing if neither. */
    static std::optional<std::uint32_t> read(const QString& text);
    /** The name of @p value if it has one, else "$" and eight upper-case hexadecimal digits. */
    static QString write(std::uint32_t value);
    /** The colour to draw for @p value; system colours come from the application palette. */
    static QColor toColor(std::uint32_t value);
    /** The 0x00BBGGRR value of @p colour (alpha dropped). */
    static std::uint32_t fromColor(const QColor& colour);
};
