#pragma once

#include "dialogstyle.h"

#include <QColor>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QString>

/**
 * Colours and fonts of the board, in one place so every panel speaks the same visual language.
 */
namespace boardstyle {

/// Names, banks, changes, card counts, game length and contract counter.
inline const QColor kDarkBlue(0, 64, 128);
/// Panel titles, the contract box and the winner text.
inline const QColor kGold = dialogstyle::kGold;
/// Titles of the contract chooser's entries.
inline const QColor kChooserBlue = dialogstyle::kTitleBlue;
/// The window background, also behind the quick instructions.
inline const QColor kWindow = dialogstyle::kWindowColour;
/// The refusal text of the error panel.
inline const QColor kErrorBlue(0, 0, 255);
/// The ring around a hinted card or contract: unlike the gold of the focus, clear on the felt and on white.
inline const QColor kHintRing(214, 0, 170);

/**
 * Paints the hint ring just inside @p area (a card or a chooser entry), @p unit pixels to a board unit:
 * a broad ring in kHintRing with a thin white line inside it.
 */
inline void paintHintRing(QPainter& painter, const QRectF& area, qreal unit)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kHintRing, 4.0 * unit));
    painter.drawRoundedRect(area.adjusted(2 * unit, 2 * unit, -2 * unit, -2 * unit), 5 * unit, 5 * unit);
    painter.setPen(QPen(Qt::white, 1.0 * unit));
    painter.drawRoundedRect(area.adjusted(4.5 * unit, 4.5 * unit, -4.5 * unit, -4.5 * unit), 3 * unit, 3 * unit);
    painter.restore();
}

/// The board's sans-serif face, the dialogs' own, at a size in pixels.
using dialogstyle::font;
/// Sets the text colour of a label (the colour tests read back from its palette).
using dialogstyle::setTextColour;

/// Paints @p area with the window's tile, or its plain colour while there is no tile.
inline void paintWindow(QPainter& painter, const QRect& area, const QPixmap& tile)
{
    if (tile.isNull())
        painter.fillRect(area, kWindow);
    else
        painter.drawTiledPixmap(area, tile);
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
