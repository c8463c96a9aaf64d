#include "boardscaler.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLayout>
#include <QMargins>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace {

constexpr const char* kGeometry = "designGeometry";
constexpr const char* kFont = "designFont";
constexpr const char* kMargins = "designMargins";
constexpr const char* kMinimum = "designMinimum";
constexpr const char* kMaximum = "designMaximum";
constexpr const char* kLayoutMargins = "designLayoutMargins";
constexpr const char* kLayoutSpacing = "designLayoutSpacing";
constexpr const char* kIconSize = "designIconSize";

int scaledLength(int length, qreal scale)
{
    return length >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : int(std::lround(length * scale));
}

QSize scaledSize(const QSize& size, qreal scale)
{
    return QSize(scaledLength(size.width(), scale), scaledLength(size.height(), scale));
}

QMargins scaledMargins(const QMargins& m, qreal scale)
{
    return QMargins(scaledLength(m.left(), scale), scaledLength(m.top(), scale), scaledLength(m.right(), scale),
                    scaledLength(m.bottom(), scale));
}

/// True when a layout of the parent places @p widget.
bool placedByLayout(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    return parent != nullptr && parent->layout() != nullptr && parent->layout()->indexOf(widget) >= 0;
}

/// True for the parts of a compound widget (a scroll area's viewport and scroll bars, ...), which their
/// owner places and sizes itself.
bool partOfCompound(const QWidget* widget, const QWidget* root)
{
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != root; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(up) || qobject_cast<const QComboBox*>(up) ||
            qobject_cast<const QAbstractSpinBox*>(up))
            return true;
    }
    return false;
}

} // namespace

BoardScaler::BoardScaler(QWidget& root, QSize designed) : m_root(root), m_designed(designed)
{
    m_root.setProperty(kFont, m_root.font());
}

void BoardScaler::setScale(qreal scale)
{
    if (!(scale > 0.0) || !std::isfinite(scale))
        scale = 1.0;
    m_scale = scale;
    m_root.setFixedSize(scaledSize(m_designed, scale));
    m_root.setFont(scaled(m_root.property(kFont).value<QFont>(), scale));
    QList<QWidget*> widgets = m_root.findChildren<QWidget*>();
    widgets.removeIf([this](const QWidget* widget) { return partOfCompound(widget, &m_root); });
    for (QWidget* widget : widgets)
        record(widget);
    for (QWidget* widget : widgets)
        apply(widget);
}

void BoardScaler::place(QWidget* widget, const QRect& designed)
{
    record(widget);
    widget->setProperty(kGeometry, designed);
    apply(widget);
}

void BoardScaler::setDesignedFont(QWidget* widget, const QFont& designed)
{
    record(widget);
    widget->setProperty(kFont, designed);
    apply(widget);
}

void BoardScaler::setDesignedMargins(QWidget* widget, const QMargins& designed)
{
    record(widget);
    widget->setProperty(kMargins, QVariant::fromValue(designed));
    apply(widget);
}

QFont BoardScaler::designedFont(const QWidget* widget)
{
    const QVariant font = widget->property(kFont);
    return font.isValid() ? font.value<QFont>() : widget->font();
}

QMargins BoardScaler::designedMargins(const QWidget* widget)
{
    const QVariant margins = widget->property(kMargins);
    return margins.isValid() ? margins.value<QMargins>() : widget->contentsMargins();
}

QRect BoardScaler::designedGeometry(const QWidget* widget)
{
    const QVariant geometry = widget->property(kGeometry);
    return geometry.isValid() ? geometry.toRect() : widget->geometry();
}

QRect BoardScaler::scaled(const QRect& rect, qreal scale)
{
    const int left = int(std::lround(rect.x() * scale));
    const int top = int(std::lround(rect.y() * scale));
    const int right = int(std::lround((rect.x() + rect.width()) * scale));
    const int bottom = int(std::lround((rect.y() + rect.height()) * scale));
    return QRect(left, top, right - left, bottom - top);
}

QFont BoardScaler::scaled(QFont font, qreal scale)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

void BoardScaler::record(QWidget* widget) const
{
    if (widget->property(kMargins).isValid())
        return;
    widget->setProperty(kGeometry, widget->geometry());
    widget->setProperty(kMargins, QVariant::fromValue(widget->contentsMargins()));
    widget->setProperty(kMinimum, widget->minimumSize());
    widget->setProperty(kMaximum, widget->maximumSize());
    // Fonts a widget only inherits follow its parent's scaled font by themselves.
    if (widget->testAttribute(Qt::WA_SetFont))
        widget->setProperty(kFont, widget->font());
    if (QLayout* layout = widget->layout()) {
        widget->setProperty(kLayoutMargins, QVariant::fromValue(layout->contentsMargins()));
        widget->setProperty(kLayoutSpacing, layout->spacing());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        widget->setProperty(kIconSize, button->iconSize());
}

void BoardScaler::apply(QWidget* widget) const
{
    if (widget->isWindow())
        return;
    widget->setContentsMargins(scaledMargins(widget->property(kMargins).value<QMargins>(), m_scale));
    widget->setMinimumSize(scaledSize(widget->property(kMinimum).toSize(), m_scale));
    widget->setMaximumSize(scaledSize(widget->property(kMaximum).toSize(), m_scale));
    const QVariant font = widget->property(kFont);
    if (font.isValid())
        widget->setFont(scaled(font.value<QFont>(), m_scale));
    if (QLayout* layout = widget->layout()) {
        layout->setContentsMargins(scaledMargins(widget->property(kLayoutMargins).value<QMargins>(), m_scale));
        const int spacing = widget->property(kLayoutSpacing).toInt();
        if (spacing >= 0)
            layout->setSpacing(scaledLength(spacing, m_scale));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setIconSize(scaledSize(widget->property(kIconSize).toSize(), m_scale));
    if (!placedByLayout(widget))
        widget->setGeometry(scaled(widget->property(kGeometry).toRect(), m_scale));
}
