#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

/**
 * The look the game's small dialogs share: the purple window under the table's tile, gold titles, blue
 * headings and white panels, in one sans-serif face sized in pixels so every dialog keeps its layout
 * whatever the desktop's font settings.
 */
namespace dialogstyle {

inline const QColor kWindowColour(87, 41, 182);
inline const QColor kGold(237, 215, 61);
inline const QColor kTitleBlue(0, 79, 157);

inline QFont font(int pixelSize, bool bold = false)
{
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setStyleHint(QFont::SansSerif);
    face.setPixelSize(pixelSize);
    face.setBold(bold);
    return face;
}

inline void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

/// Fills @p widget with @p colour, under @p tile when one is given.
inline void setBackground(QWidget* widget, const QColor& colour, const QPixmap& tile = QPixmap())
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    if (!tile.isNull())
        palette.setBrush(QPalette::Window, QBrush(colour, tile));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

/// Moves @p dialog so that it stands centred over @p window (left where it is when there is none).
inline void centreOn(QWidget* dialog, const QWidget* window)
{
    if (window != nullptr)
        dialog->move(window->frameGeometry().center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

/// Centres @p dialog over @p window, shows it and brings it to the front with the keyboard.
inline void showCentredOn(QWidget* dialog, const QWidget* window)
{
    centreOn(dialog, window);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace dialogstyle
