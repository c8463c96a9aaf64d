#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QString>

/**
 * Colours and fonts of the board, in one place so every panel speaks the same visual language.
 */
namespace boardstyle {

/// Names, banks, changes, card counts, game length and contract counter.
inline const QColor kDarkBlue(0, 64, 128);
/// Panel titles, the contract box and the winner text.
inline const QColor kGold(237, 215, 61);
/// Titles of the contract chooser's entries.
inline const QColor kChooserBlue(0, 79, 157);
/// The window background, also behind the quick instructions.
inline const QColor kWindow(87, 41, 182);
/// The refusal text of the error panel.
inline const QColor kErrorBlue(0, 0, 255);

/// The board's sans-serif face at @p pixelSize pixels.
inline QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

/// Sets the text colour of @p label (the colour tests read back from its palette).
inline void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

/// A transparent label at @p x, @p y of @p width x @p height with the given look and initial text.
inline QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& geometry, const QString& text,
                         const QColor& colour, const QFont& labelFont, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(labelFont);
    label->setAlignment(align);
    setTextColour(label, colour);
    return label;
}

} // namespace boardstyle
