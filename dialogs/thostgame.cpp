#include "thostgame.h"

#include "dialogstyle.h"
#include "playername.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* fieldLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(dialogstyle::font(13, true));
    dialogstyle::setTextColour(label, dialogstyle::kGold);
    label->setBuddy(buddy);
    return label;
}

QCheckBox* box(const QString& text, const char* name, bool on, QWidget* parent)
{
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setChecked(on);
    dialogstyle::setTextColour(check, Qt::white);
    return check;
}

} // namespace

Thostgame::Thostgame(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Thostgame"));
    setWindowTitle(QStringLiteral("Morlu - Host Game"));
    dialogstyle::setBackground(this, dialogstyle::kWindowColour);
    setFont(dialogstyle::font(12));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edit_name"));
    m_name->setMaxLength(30);
    m_port = new QLineEdit(QStringLiteral("7772"), this);
    m_port->setObjectName(QStringLiteral("edit_port"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_port->setMaximumWidth(80);
    auto* form = new QFormLayout;
    form->addRow(fieldLabel(QStringLiteral("Your name"), m_name, this), m_name);
    form->addRow(fieldLabel(QStringLiteral("Port"), m_port, this), m_port);

    m_announce = box(QStringLiteral("Announce on the local network"), "check_announce", true, this);
    m_upnp = box(QStringLiteral("Open the port on my router"), "check_upnp", false, this);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("label_note"));
    m_note->setWordWrap(true);
    dialogstyle::setTextColour(m_note, dialogstyle::kGold);
    m_note->hide();

    auto* host = new QPushButton(QStringLiteral("&Host"), this);
    host->setObjectName(QStringLiteral("button_host"));
    host->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("button_cancel"));
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(host);
    buttons->addWidget(cancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(m_announce);
    column->addWidget(m_upnp);
    column->addWidget(m_note);
    column->addLayout(buttons);
    resize(380, 0);
    fitHeight();

    connect(host, &QPushButton::clicked, this, &Thostgame::hostPress);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Thostgame::setPlayerName(const QString& name)
{
    m_name->setText(name);
}

void Thostgame::setPort(quint16 port)
{
    m_port->setText(QString::number(port));
}

HostChoice Thostgame::choice() const
{
    const int port = m_port->text().toInt();
    return HostChoice{m_name->text().trimmed(), quint16(port >= 1 && port <= 65535 ? port : 0),
                      m_announce->isChecked(), m_upnp->isChecked()};
}

void Thostgame::showCentredOn(const QWidget* window)
{
    showNote(QString());
    dialogstyle::showCentredOn(this, window);
    m_name->setFocus(Qt::OtherFocusReason);
}

void Thostgame::offerAnotherPort(quint16 taken, const QWidget* window)
{
    setPort(taken);
    dialogstyle::showCentredOn(this, window);
    showNote(QStringLiteral("Port %1 is already in use on this machine (another game?). Choose another port.")
                 .arg(taken));
    m_port->setFocus(Qt::OtherFocusReason);
    m_port->selectAll();
}

QString Thostgame::noteText() const
{
    return m_note->text();
}

void Thostgame::hostPress()
{
    const HostChoice chosen = choice();
    if (const QString why = playername::error(chosen.name); !why.isEmpty()) {
        showNote(why);
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (chosen.port == 0) {
        showNote(QStringLiteral("The port must be a number from 1 to 65535."));
        m_port->setFocus(Qt::OtherFocusReason);
        m_port->selectAll();
        return;
    }
    showNote(QString());
    accept();
    emit hostChosen(chosen);
}

void Thostgame::showNote(const QString& text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
    fitHeight();
}

void Thostgame::fitHeight()
{
    // As tall as its rows at its width: the buttons stand under the last row, and a note wraps whole.
    layout()->activate();
    resize(width(), layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width()) : sizeHint().height());
}
