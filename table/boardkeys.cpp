#include "boardkeys.h"

#include "board.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "instructionspanel.h"
#include "playerinput.h"
#include "titledpanel.h"

#include <QKeyEvent>

#include <algorithm>
#include <vector>

namespace {

std::vector<CardPlace*> held(const Board& board)
{
    std::vector<CardPlace*> cards;
    for (int place = 1; place <= morlu::kHandSlots; ++place) {
        CardPlace* card = board.handPlace(place);
        if (!card->isHidden() && card->slot() != 0 && card->hasPicture())
            cards.push_back(card);
    }
    return cards;
}

} // namespace

BoardKeys::BoardKeys(Board& board, PlayerInput& input, QObject* parent)
    : QObject(parent), m_board(board), m_input(input)
{
    m_board.setFocusPolicy(Qt::StrongFocus);
    m_board.installEventFilter(this);
}

bool BoardKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_board && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (press(key->key(), key->modifiers()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

bool BoardKeys::press(int key, Qt::KeyboardModifiers modifiers)
{
    // Shortcuts with Ctrl or Alt belong to the menus.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key >= Qt::Key_1 && key <= Qt::Key_8) {
        const int n = key - Qt::Key_0;
        if (m_board.chooser()->isVisibleTo(&m_board)) {
            if (n <= morlu::kContractCount)
                m_input.label_city1MouseUp(n);
            return true;
        }
        if (CardPlace* card = heldCard(n)) {
            card->setFocus(Qt::ShortcutFocusReason);
            m_input.card_1Click(card);
        }
        return true;
    }
    switch (key) {
    case Qt::Key_Left:
        moveFocus(-1);
        return true;
    case Qt::Key_Right:
        moveFocus(+1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (CardPlace* card = focusedCard()) {
            m_input.card_1Click(card);
            return true;
        }
        return false;
    case Qt::Key_Escape:
        return closePanel();
    case Qt::Key_H:
        if (!m_hint)
            return false;
        m_hint();
        return true;
    default:
        return false;
    }
}

CardPlace* BoardKeys::heldCard(int n) const
{
    const std::vector<CardPlace*> cards = held(m_board);
    return n >= 1 && n <= int(cards.size()) ? cards[std::size_t(n - 1)] : nullptr;
}

CardPlace* BoardKeys::focusedCard() const
{
    for (CardPlace* card : held(m_board))
        if (card->hasFocus())
            return card;
    return nullptr;
}

void BoardKeys::moveFocus(int step)
{
    const std::vector<CardPlace*> cards = held(m_board);
    if (cards.empty())
        return;
    int at = -1;
    for (int i = 0; i < int(cards.size()); ++i)
        if (cards[std::size_t(i)]->hasFocus())
            at = i;
    const int next = at < 0 ? (step > 0 ? 0 : int(cards.size()) - 1) : std::clamp(at + step, 0, int(cards.size()) - 1);
    cards[std::size_t(next)]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool BoardKeys::closePanel()
{
    if (m_board.instructionsPanel()->isVisibleTo(&m_board)) {
        m_input.Image10Click();
        return true;
    }
    if (m_board.errorPanel()->isVisibleTo(&m_board)) {
        m_input.Image7Click();
        return true;
    }
    if (m_board.winnerPanel()->isVisibleTo(&m_board)) {
        m_board.winnerPanel()->hide();
        return true;
    }
    // Nothing to close: the keys come back to the board (from the chat entry, say).
    if (!m_board.hasFocus() && !focusedCard()) {
        m_board.setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return false;
}
