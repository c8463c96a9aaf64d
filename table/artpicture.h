#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

/**
 * A picture of the board (marker, check mark, button, banner, logo, illustration) that draws itself at
 * paint time from a source function given the ratio of device pixels to the picture's own units (the
 * screen's ratio times how much larger than its natural size the widget is drawn), so it stays crisp on
 * any screen and on a larger board. A left click on it emits clicked(); the OK pictures, the start button
 * and the logo use that.
 */
class ArtPicture : public QWidget {
    Q_OBJECT

public:
    /// Makes the pixmap for a device pixel ratio (Artwork's functions fit directly).
    using Source = std::function<QPixmap(qreal dpr)>;

    ArtPicture(const QString& name, Source source, QWidget* parent);

    /// A source that loads a picture resource such as ":/art/instructions1.jpg".
    static Source resource(const QString& path);

    /// The picture as drawn now; null when the source has none.
    QPixmap pixmap() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Source m_source;
    QSize m_natural; ///< the picture's size in its own units
    bool m_pressed = false;
};
