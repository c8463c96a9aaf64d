#include "chatentry.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

ChatEntry::ChatEntry(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("mychat"));
    setMaxLength(kMaxLength);
    setText(QString::fromLatin1(kPlaceholder));
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("popup_mychat"));
    QAction* paste = m_popup->addAction(QStringLiteral("Paste"), this, &ChatEntry::Paste1Click);
    paste->setObjectName(QStringLiteral("Paste1"));
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    paste->setShortcutContext(Qt::WidgetShortcut);
}

void ChatEntry::dropPlaceholder()
{
    if (text() == QLatin1String(kPlaceholder))
        clear();
}

void ChatEntry::keyPressEvent(QKeyEvent* event)
{
    dropPlaceholder();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit sendRequested();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        Paste1Click();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ChatEntry::contextMenuEvent(QContextMenuEvent* event)
{
    m_popup->popup(event->globalPos());
    event->accept();
}

void ChatEntry::Paste1Click()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!pasted.isEmpty())
        setText(pasted);
}

void ChatEntry::N271Click(int code)
{
    dropPlaceholder();
    setText(text() + QStringLiteral(":)#") + QString::number(code));
    deselect();
    end(false);
}
