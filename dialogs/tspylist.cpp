#include "tspylist.h"

#include "dialogstyle.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

Tspylist::Tspylist(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Tspylist"));
    setWindowTitle(QStringLiteral("Spys"));
    setModal(false);
    setFixedSize(162, 168);
    // The gold title needs a dark ground to be read: the dialog wears the purple of the other small
    // dialogs around its white list.
    dialogstyle::setBackground(this, dialogstyle::kWindowColour);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listbox_spys"));
    m_list->setGeometry(5, 5, 154, 130);
    m_list->setFont(dialogstyle::font(12));
    m_list->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* title = new QLabel(QStringLiteral("Spy List"), this);
    title->setObjectName(QStringLiteral("label_spylist"));
    title->setGeometry(7, 138, 78, 22);
    title->setFont(dialogstyle::font(14, true));
    dialogstyle::setTextColour(title, dialogstyle::kGold);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("button_done"));
    done->setGeometry(88, 140, 71, 20);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Tspylist::button_doneClick);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("popup_spys"));
    m_kick = m_popup->addAction(QStringLiteral("Remove From Game"), this, &Tspylist::popup_kickhimClick);
    m_kick->setObjectName(QStringLiteral("popup_kickhim"));
    m_kick->setEnabled(false);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        listbox_spysMouseMove(position);
        m_popup->popup(m_list->viewport()->mapToGlobal(position));
    });
}

void Tspylist::showOver(const QWidget* window)
{
    dialogstyle::showCentredOn(this, window);
}

void Tspylist::setEntries(const QStringList& entries)
{
    if (entries == this->entries())
        return;
    m_list->clear();
    m_list->addItems(entries);
    // The remembered entry may now name somebody else; only a new move of the pointer names one again.
    m_remembered = -1;
}

QStringList Tspylist::entries() const
{
    QStringList texts;
    for (int n = 0; n < m_list->count(); ++n)
        texts << m_list->item(n)->text();
    return texts;
}

void Tspylist::setKickEnabled(bool enabled)
{
    m_kick->setEnabled(enabled);
}

void Tspylist::listbox_spysMouseMove(const QPoint& position)
{
    const QListWidgetItem* item = m_list->itemAt(position);
    m_remembered = item != nullptr ? m_list->row(item) : -1;
}

void Tspylist::popup_kickhimClick()
{
    if (!m_kick->isEnabled() || m_remembered < 0 || m_remembered >= m_list->count())
        return;
    const QString text = m_list->item(m_remembered)->text();
    bool ok = false;
    const int slot = text.left(text.indexOf(QLatin1Char(':'))).trimmed().toInt(&ok);
    if (ok)
        emit kickRequested(slot);
}

bool Tspylist::eventFilter(QObject* watched, QEvent* event)
{
    // Only moves inside the list count: leaving it (for the popup, say) keeps the entry last pointed at.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseMove)
        listbox_spysMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    return QDialog::eventFilter(watched, event);
}
