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

bool PlayableCards::ownTurn() const
{
    return m_model.ownTurn();
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
}
