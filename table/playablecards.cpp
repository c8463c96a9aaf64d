#include "playablecards.h"

#include "artpicture.h"
#include "board.h"
#include "boarddisplay.h"
#include "cardplace.h"
#include "tablestate.h"

PlayableCards::PlayableCards(Board& board, const TableState& state) : m_board(board), m_state(state) {}

void PlayableCards::setShown(bool shown)
{
    m_shown = shown;
    refresh();
}

bool PlayableCards::ownTurn() const
{
    return m_state.isPlayerSeat() && m_state.turnseat == m_state.myseat && morlu::validContract(m_state.contract) &&
           m_board.turnMarker()->isVisibleTo(&m_board);
}

morlu::PlayPosition PlayableCards::position() const
{
    morlu::PlayPosition position;
    position.contract = m_state.contract;
    int held = 0;
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot) {
        const CardPlace* place = m_board.handPlace(slot);
        if (place->isHidden() || place->slot() == 0)
            continue;
        position.hand[std::size_t(slot)] = place->cardCode();
        ++held;
    }
    // One card goes from every hand in every trick, so the cards left tell the trick.
    position.trick = morlu::kHandSlots + 1 - held;
    if (const int leader = m_board.leadSeat())
        position.ledsuit = morlu::getsuit(m_board.playedCard(leader)->picture());
    int start = 0;
    for (int rank = 1; rank <= 8; ++rank)
        if (BoardDisplay::dominoRankName(rank) == m_board.dominoRank(morlu::Diamonds)->text())
            start = rank;
    std::array<int, 4> tops{};
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit)
        tops[std::size_t(suit - 1)] = m_board.foundation(suit)->picture();
    position.domino = morlu::DominoFoundations::fromTops(start, tops);
    return position;
}

void PlayableCards::refresh()
{
    const bool judged = ownTurn();
    const auto playable = judged ? morlu::playableSlots(position()) : std::array<bool, morlu::kHandSlots + 1>{};
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot) {
        CardPlace* place = m_board.handPlace(slot);
        const bool holds = !place->isHidden() && place->slot() != 0;
        const bool may = playable[std::size_t(slot)];
        place->setPlayable(!judged || !holds ? CardPlace::Playable::Unknown
                                             : (may ? CardPlace::Playable::Yes : CardPlace::Playable::No));
        place->setDimmed(judged && holds && m_shown && !may);
    }
}
