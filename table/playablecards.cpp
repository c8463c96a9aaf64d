#include "playablecards.h"

#include "board.h"
#include "cardplace.h"
#include "tablemodel.h"

PlayableCards::PlayableCards(Board& board, const TableModel& model) : m_board(board), m_model(model) {}

void PlayableCards::setShown(bool shown)
{
    m_shown = shown;
    refresh();
}

void PlayableCards::setOffline(bool offline)
{
    m_offline = offline;
    refresh();
}

bool PlayableCards::ownTurn() const
{
    return !m_offline && m_model.ownTurn();
}

void PlayableCards::refresh()
{
    const bool judged = ownTurn();
    const auto playable =
        judged ? morlu::playableSlots(m_model.playPosition()) : std::array<bool, morlu::kHandSlots + 1>{};
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot) {
        CardPlace* place = m_board.handPlace(slot);
        const bool holds = m_model.hand()[std::size_t(slot)] != 0;
        const bool may = playable[std::size_t(slot)];
        place->setPlayable(!judged || !holds ? CardPlace::Playable::Unknown
                                             : (may ? CardPlace::Playable::Yes : CardPlace::Playable::No));
        place->setDimmed(judged && holds && m_shown && !may);
    }
    const bool turnCame = judged && !m_judged;
    m_judged = judged;
    if (!turnCame || !m_shown)
        return;
    int focused = 0;
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot)
        if (m_board.handPlace(slot)->hasFocus())
            focused = slot;
    if (focused == 0 || !m_board.handPlace(focused)->isDimmed())
        return;
    // The nearest card that may be played; of two as near, the one to the right, where the focus goes on.
    for (int distance = 1; distance < morlu::kHandSlots; ++distance) {
        for (const int slot : {focused + distance, focused - distance}) {
            if (slot < 1 || slot > morlu::kHandSlots)
                continue;
            CardPlace* place = m_board.handPlace(slot);
            if (m_model.hand()[std::size_t(slot)] != 0 && !place->isDimmed()) {
                place->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    }
}
