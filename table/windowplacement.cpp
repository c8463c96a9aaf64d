#include "windowplacement.h"

#include <algorithm>

namespace {

/// The strip along the window's top that must show: its title bar, high enough to grab.
constexpr int kGrabHeight = 20;
constexpr int kGrabWidth = 100;

} // namespace

QRect WindowPlacement::onScreen(const QRect& bounds, const QList<QRect>& screens)
{
    // A hand-edited file may hold any int: no size is taken that is none, or larger than every screen
    // together, and the sums below are worked out in 64 bits, where a left near the int's end cannot
    // wrap round onto the screen.
    QRect extent;
    for (const QRect& screen : screens)
        extent = extent.united(screen);
    const auto fit = [&extent](int length, int fallback, int most) {
        if (length <= 0)
            return fallback;
        return extent.isEmpty() ? length : std::min(length, most);
    };
    const QSize size(fit(bounds.width(), kDefault.width(), extent.width()),
                     fit(bounds.height(), kDefault.height(), extent.height()));
    const qint64 left = bounds.left();
    const qint64 top = bounds.top();
    const qint64 needed = std::min(kGrabWidth, size.width());
    for (const QRect& screen : screens) {
        const qint64 shownWidth = std::min(left + size.width(), qint64(screen.left()) + screen.width()) -
                                  std::max(left, qint64(screen.left()));
        const qint64 shownHeight =
            std::min(top + kGrabHeight, qint64(screen.top()) + screen.height()) - std::max(top, qint64(screen.top()));
        if (shownWidth >= needed && shownHeight >= kGrabHeight / 2)
            return QRect(bounds.topLeft(), size);
    }
    const QPoint origin = screens.isEmpty() ? QPoint(0, 0) : screens.front().topLeft();
    return QRect(origin + kDefault.topLeft(), size);
}

QRect WindowPlacement::atClose(const QRect& bounds, const QRect& frame, const QRect& workArea)
{
    QRect result = bounds;
    if (frame.width() > workArea.width())
        result.setWidth(bounds.width() - kShrink);
    if (frame.height() > workArea.height())
        result.setHeight(bounds.height() - kShrink);
    return result;
}
