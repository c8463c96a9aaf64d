#include "hintrequester.h"

#include "board.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fitlabel.h"
#include "hintreason.h"
#include "hostrequests.h"
#include "oneshottimer.h"
#include "sessionmessages.h"
#include "tablemodel.h"

#include <QApplication>

namespace {

QString contractText(int contract)
{
    const std::string_view name = morlu::contractName(contract);
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

} // namespace

HintRequester::HintRequester(Board& board, const TableModel& model, HostRequests& host, OneShotTimer& timer,
                             QObject* parent)
    : QObject(parent), m_board(board), m_model(model), m_host(host), m_timer(timer)
{
    m_timer.setTimeout([this] { answerOverdue(); });
}

void HintRequester::registerOn(morlu::Dispatcher<>& dispatcher)
{
    dispatcher.add(morlu::CMD_hint, [this](std::string_view rest) { hint(rest); });
}

bool HintRequester::choosing() const
{
    return m_model.isPlayerSeat() && m_model.chooser() == m_model.myslot();
}

void HintRequester::setOffline(bool offline)
{
    m_offline = offline;
    refresh();
}

bool HintRequester::mayAsk() const
{
    if (m_offline || !m_model.isPlayerSeat() || m_model.seat(m_model.myslot()).watching)
        return false;
    return choosing() || m_model.ownTurn();
}

bool HintRequester::othersSeated() const
{
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        if (seat != m_model.myslot() && !m_model.seat(seat).name.isEmpty())
            return true;
    return false;
}

void HintRequester::Hint1Click()
{
    if (!mayAsk() || m_awaiting)
        return;
    // The ring still stands for this position: the host would only give the same answer again.
    if (m_ringedSlot != 0 || m_ringedContract != 0) {
        focusRinged();
        emit said(m_said);
        return;
    }
    m_awaiting = true;
    m_timer.start(kAnswerMs);
    m_host.sendline(morlu::HintRequest{m_model.myslot()}.write(m_line));
}

void HintRequester::hint(std::string_view rest)
{
    const morlu::Hint answer = morlu::Hint::read(rest);
    if (answer.seat != m_model.myslot() || !mayAsk())
        return;
    m_awaiting = false;
    m_timer.stop();
    clearRing();
    const morlu::PlayPosition position = m_model.playPosition();
    if (answer.handSlot == 0 && choosing() && morlu::validContract(answer.contract) &&
        !m_model.contractUsed(answer.contract)) {
        m_ringedContract = answer.contract;
        m_board.chooser()->setHinted(answer.contract);
        const QString reason = HintReason::forContract(answer.contract, position.hand);
        const QString line = QStringLiteral("Hint: ") + (reason.isEmpty() ? contractText(answer.contract) : reason);
        m_board.addLogLine(line);
        m_board.setHintNote(line);
        m_said = line;
        emit said(line);
        return;
    }
    if (answer.handSlot < 1 || answer.handSlot > morlu::kHandSlots || !m_model.ownTurn())
        return;
    const int card = position.hand[std::size_t(answer.handSlot)];
    CardPlace* place = m_board.handPlace(answer.handSlot);
    if (card == 0 || place == nullptr)
        return;
    m_ringedSlot = answer.handSlot;
    place->setHinted(true);
    focusRinged();
    const QString reason = HintReason::forCard(position, m_model.trick(), answer.handSlot);
    // The card first: the ring shows it only to the eye, and the reason speaks of it as "it".
    m_said = QStringLiteral("Hint: ") + HintReason::cardText(card);
    if (!reason.isEmpty())
        m_said += QStringLiteral(" - ") + reason;
    m_board.addLogLine(m_said);
    emit said(m_said);
}

void HintRequester::focusRinged()
{
    // Played by keyboard, Enter then plays the hinted card. The keys stay where they are when they are not
    // on the board (the chat entry, say).
    CardPlace* place = m_board.handPlace(m_ringedSlot);
    QWidget* focus = QApplication::focusWidget();
    bool onBoard = focus == &m_board;
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot)
        onBoard = onBoard || (focus != nullptr && focus == m_board.handPlace(slot));
    if (place != nullptr && onBoard)
        place->setFocus(Qt::OtherFocusReason);
}

void HintRequester::answerOverdue()
{
    if (!m_awaiting)
        return;
    m_awaiting = false;
    // With other humans seated the host answers only with the host player's leave.
    const QString line = othersSeated() ? QStringLiteral("No hint came: the host player allows none, or this host "
                                                         "gives none.")
                                        : QStringLiteral("This host gives no hints.");
    m_board.addLogLine(line);
    // The contract chooser lies over the game log while the player chooses.
    if (choosing())
        m_board.setHintNote(line);
    emit said(line);
}

void HintRequester::clearRing()
{
    if (CardPlace* place = m_board.handPlace(m_ringedSlot))
        place->setHinted(false);
    m_board.chooser()->setHinted(0);
    m_board.setHintNote({});
    m_ringedSlot = 0;
    m_ringedContract = 0;
    m_said.clear();
}

void HintRequester::refresh()
{
    const bool may = mayAsk();
    const bool cardGone =
        m_ringedSlot != 0 && (m_offline || !m_model.ownTurn() || m_model.hand()[std::size_t(m_ringedSlot)] == 0);
    const bool choiceGone = m_ringedContract != 0 && (m_offline || !choosing());
    if (cardGone || choiceGone)
        clearRing();
    // The line under the contract box goes with the choice it was said for.
    if ((m_offline || !choosing()) && !m_board.hintNoteLabel()->isHidden())
        m_board.setHintNote({});
    // The host drops a request its position has left; no answer is then no news.
    if (m_awaiting && !may) {
        m_awaiting = false;
        m_timer.stop();
    }
    if (may != m_mayAsk) {
        m_mayAsk = may;
        emit mayAskChanged(may);
    }
}
