#include "dialogfocus.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWindow>

DialogFocus::DialogFocus(QWidget& window) : QObject(&window), m_window(window)
{
    qApp->installEventFilter(this);
}

DialogFocus::~DialogFocus()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

bool DialogFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Hide || !watched->isWidgetType())
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || !dialog->isWindow() || dialog->parentWidget() == nullptr ||
        dialog->parentWidget()->window() != &m_window)
        return false;
    // The window system may already have taken the keyboard from the hidden dialog or not yet: either
    // way the dialog had it, and nobody else has it.
    const QWindow* focus = QGuiApplication::focusWindow();
    if (QApplication::activeWindow() != dialog && (focus == nullptr || focus != dialog->windowHandle()))
        return false;
    // Once the closing is over, unless a window manager has handed the keyboard on meanwhile.
    QTimer::singleShot(0, this, [this] {
        const QWindow* now = QGuiApplication::focusWindow();
        if ((now == nullptr || !now->isVisible()) && m_window.isVisible() && !m_window.isMinimized())
            m_window.activateWindow();
    });
    return false;
}
