#include "friendsline.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

FriendsLine::FriendsLine(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("panel_friends"));
    auto* label = new QLabel(QStringLiteral("Tell your friends:"), this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("edit_friends"));
    m_field->setReadOnly(true);
    label->setBuddy(m_field);
    auto* copy = new QPushButton(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("button_copy"));
    copy->setFocusPolicy(Qt::TabFocus);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(label);
    row->addWidget(m_field, 1);
    row->addWidget(copy);
    // The button says that it did something, for a moment: the clipboard itself shows nothing.
    connect(copy, &QPushButton::clicked, this, [this, copy] {
        QGuiApplication::clipboard()->setText(text());
        copy->setText(QStringLiteral("Copied"));
        QTimer::singleShot(2000, copy, [copy] { copy->setText(QStringLiteral("Copy")); });
    });
    hide();
}

void FriendsLine::addAddress(const QString& address)
{
    if (address.isEmpty() || m_addresses.contains(address))
        return;
    m_addresses.append(address);
    m_field->setText(text());
    m_field->setCursorPosition(0);
    show();
}

QString FriendsLine::text() const
{
    return m_addresses.join(QStringLiteral(", "));
}
