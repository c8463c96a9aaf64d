#include "windowplacement.h"

#include <algorithm>

namespace {

/// The strip along the window's top that must show: its title bar, high enough to grab.
constexpr int kGrabHeight = 20;
constexpr int kGrabWidth = 100;

} // namespace

QRect WindowPlacement::onScreen(const QRect& bounds, const QList<QRect>& screens)
{
    const QRect grab(bounds.left(), bounds.top(), bounds.width(), kGrabHeight);
    const int needed = std::min(kGrabWidth, bounds.width());
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(grab);
        if (shown.width() >= needed && shown.height() >= kGrabHeight / 2)
            return bounds;
    }
    const QPoint origin = screens.isEmpty() ? QPoint(0, 0) : screens.front().topLeft();
    return QRect(origin + kDefault.topLeft(), bounds.size());
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
