#include "seatcontrols.h"

#include "board.h"
#include "cards.h"
#include "hostrequests.h"
#include "sessionmessages.h"
#include "tablestate.h"

#include <QLabel>
#include <QMenu>

#include <string>

SeatControls::SeatControls(Board& board, const TableState& state, HostRequests& host, QObject* parent)
    : QObject(parent), m_board(board), m_state(state), m_host(host), m_popup(new QMenu(&board))
{
    m_popup->setObjectName(QStringLiteral("popup_kick"));
    m_remove = m_popup->addAction(QStringLiteral("Remove From Game"), this, &SeatControls::RemoveFromGame1Click);
    m_remove->setObjectName(QStringLiteral("RemoveFromGame1"));
    m_setWatch =
        m_popup->addAction(QStringLiteral("Set to Just Watch"), this, &SeatControls::SettoJustWatch1Click);
    m_setWatch->setObjectName(QStringLiteral("SettoJustWatch1"));
    m_unsetWatch =
        m_popup->addAction(QStringLiteral("Unset Just Watch"), this, &SeatControls::UnsetJustWatch1Click);
    m_unsetWatch->setObjectName(QStringLiteral("UnsetJustWatch1"));

    // Seat 1 is the host player's own: its name opens no menu.
    for (int seat = 2; seat <= morlu::kSeatCount; ++seat) {
        QLabel* label = board.nameLabel(seat);
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(label, &QWidget::customContextMenuRequested, this, [this, seat, label](const QPoint& position) {
            label_playername1ContextPopup(seat);
            m_popup->popup(label->mapToGlobal(position));
        });
    }
}

void SeatControls::label_playername1ContextPopup(int seat)
{
    const bool host = m_state.isHostPlayer();
    for (QAction* entry : {m_remove, m_setWatch, m_unsetWatch})
        entry->setEnabled(host);
    if (m_board.seatName(seat) == QLatin1String(Board::kWaiting))
        m_remove->setEnabled(false);
    m_target = seat;
}

void SeatControls::RemoveFromGame1Click()
{
    kicking(m_target);
}

void SeatControls::SettoJustWatch1Click()
{
    sendJustWatch(m_target, true);
}

void SeatControls::UnsetJustWatch1Click()
{
    sendJustWatch(m_target, false);
}

void SeatControls::kicking(int slot)
{
    // The own slot is never removed from here: that would close this table (and a hosting program).
    if (!m_state.isHostPlayer() || slot < 1 || slot == m_state.myseat)
        return;
    std::string line;
    m_host.sendline(morlu::KickHim{m_state.myseat, slot}.write(line));
    emit removalAsked(slot);
}

void SeatControls::JustWatch1Click()
{
    if (!m_state.isPlayerSeat())
        return;
    sendJustWatch(m_state.myseat, !m_watching);
}

void SeatControls::sendJustWatch(int seat, bool watch)
{
    if (!m_state.connected || seat < 1 || seat > morlu::kSeatCount)
        return;
    std::string line;
    m_host.sendline(morlu::JustWatch{seat, watch ? morlu::kWatchStart : morlu::kWatchStop}.write(line));
}
