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

/// How far the hint ring reaches in from the edge of what it rings, in board units.
inline constexpr qreal kHintRingWidth = 2.0;

/**
 * Paints the hint ring along the edge of @p area (a card or a chooser entry), @p unit pixels to a board
 * unit: kHintRingWidth units of kHintRing, narrow enough to leave a card's corner index readable.
 */
inline void paintHintRing(QPainter& painter, const QRectF& area, qreal unit)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // Its corners bend with a card's own (4 units round), so they stay as clear of the index as its sides.
    const qreal half = kHintRingWidth / 2 * unit;
    const qreal round = 4 * unit - half;
    painter.setPen(QPen(kHintRing, kHintRingWidth * unit));
    painter.drawRoundedRect(area.adjusted(half, half, -half, -half), round, round);
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
