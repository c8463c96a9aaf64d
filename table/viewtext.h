#pragma once

#include <QString>

#include <string_view>

/// UTF-8 text read from a line or a vocabulary table, as a QString (the view need not end in a NUL).
inline QString fromView(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
