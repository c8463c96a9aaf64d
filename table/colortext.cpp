#include "colortext.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

struct NamedColour {
    const char* name;
    std::uint32_t value;
};

constexpr std::uint32_t kSystem = 0x80000000u;

// Plain colours first: writing a value picks the first name that matches it.
constexpr std::array<NamedColour, 42> kNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", kSystem + 0},
    {"clBackground", kSystem + 1},
    {"clActiveCaption", kSystem + 2},
    {"clInactiveCaption", kSystem + 3},
    {"clMenu", kSystem + 4},
    {"clWindow", kSystem + 5},
    {"clWindowFrame", kSystem + 6},
    {"clMenuText", kSystem + 7},
    {"clWindowText", kSystem + 8},
    {"clCaptionText", kSystem + 9},
    {"clActiveBorder", kSystem + 10},
    {"clInactiveBorder", kSystem + 11},
    {"clAppWorkSpace", kSystem + 12},
    {"clHighlight", kSystem + 13},
    {"clHighlightText", kSystem + 14},
    {"clBtnFace", kSystem + 15},
    {"clBtnShadow", kSystem + 16},
    {"clGrayText", kSystem + 17},
    {"clBtnText", kSystem + 18},
    {"clInactiveCaptionText", kSystem + 19},
    {"clBtnHighlight", kSystem + 20},
    {"cl3DDkShadow", kSystem + 21},
    {"cl3DLight", kSystem + 22},
    {"clInfoText", kSystem + 23},
    {"clInfoBk", kSystem + 24},
    {"clNone", 0x1FFFFFFF},
}};

/// The palette role that stands for system colour @p index on this desktop.
QPalette::ColorRole systemRole(std::uint32_t index, QPalette::ColorGroup& group)
{
    group = QPalette::Active;
    switch (index) {
    case 0:  // scroll bar
    case 15: // button face
    case 4:  // menu
    case 10:
    case 11:
        return QPalette::Button;
    case 1:  // desktop
    case 12: // application work space
        return QPalette::Dark;
    case 2: // active caption
    case 13:
        return QPalette::Highlight;
    case 3: // inactive caption
        group = QPalette::Inactive;
        return QPalette::Highlight;
    case 5:
        return QPalette::Base;
    case 6:
    case 21:
        return QPalette::Shadow;
    case 7:
    case 8:
        return QPalette::Text;
    case 9:
    case 14:
        return QPalette::HighlightedText;
    case 16:
        return QPalette::Mid;
    case 17:
        group = QPalette::Disabled;
        return QPalette::Text;
    case 18:
        return QPalette::ButtonText;
    case 19:
        group = QPalette::Inactive;
        return QPalette::HighlightedText;
    case 20:
        return QPalette::Light;
    case 22:
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return QPalette::Text;
    }
}

std::optional<std::uint32_t> readInteger(const QString& text)
{
    bool ok = false;
    if (text.startsWith(QLatin1Char('$'))) {
        const QStringView digits = QStringView(text).mid(1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        const std::uint32_t value = digits.toUInt(&ok, 16);
        return ok ? std::optional<std::uint32_t>(value) : std::nullopt;
    }
    const int value = text.toInt(&ok, 10);
    if (!ok || text.startsWith(QLatin1Char('+')) || text.trimmed() != text)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<std::uint32_t> ColorText::read(const QString& text)
{
    for (const NamedColour& entry : kNames) {
        if (text.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.value;
    }
    return readInteger(text);
}

QString ColorText::write(std::uint32_t value)
{
    for (const NamedColour& entry : kNames) {
        if (entry.value == value)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("$%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

QColor ColorText::toColor(std::uint32_t value)
{
    if (value >= kSystem && value <= kSystem + 24) {
        QPalette::ColorGroup group = QPalette::Active;
        const QPalette::ColorRole role = systemRole(value - kSystem, group);
        return QGuiApplication::palette().color(group, role);
    }
    if (value == 0x1FFFFFFF)
        return QColor(Qt::transparent);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t ColorText::fromColor(const QColor& colour)
{
    return std::uint32_t(colour.red()) | (std::uint32_t(colour.green()) << 8) | (std::uint32_t(colour.blue()) << 16);
}
