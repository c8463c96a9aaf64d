#pragma once

#include <QObject>

class QWidget;

/**
 * Gives the keyboard back to the table window when one of its dialogs or message boxes closes while it
 * has the keyboard, so that the board's keys and the window's shortcuts work again at once without a
 * click, also where no window manager hands the focus on. A dialog closed while another program has the
 * keyboard takes nothing from that program. Watches the application's events; the window owns it.
 */
class DialogFocus : public QObject {
    Q_OBJECT

public:
    explicit DialogFocus(QWidget& window);
    ~DialogFocus() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
};
