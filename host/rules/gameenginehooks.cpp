// The engine's computer seats and the hooks the session calls: a computer taking over a seat, hints,
// and what a table that logs in or comes back is told of the game in progress.

#include "gameengine.h"

#include "gamemessages.h"
#include "seatobserver.h"

#include <algorithm>

namespace morlu {

// --- computer players -----------------------------------------------------------------------------

void GameEngine::computerchoosehand(int seat)
{
    const SeatPlayer* player = seatPlayer(m_levels[seat]);
    const int code = player != nullptr ? player->chooseContract(seatViewOf(m_state, m_history, seat))
                                       : m_computer.computerchoosehand(seat);
    if (code == 0)
        return;
    choosetype(ChooseType{seat, code});
}

void GameEngine::computertimerTimer()
{
    m_timers.stop(TimerId::ComputerTimer);
    const int seat = m_state.turnseat;
    if (GameState::isSeat(seat) && m_state.computerPlayed(seat))
        computerplay(seat);
}

void GameEngine::computerplay(int seat)
{
    const SeatPlayer* player = seatPlayer(m_levels[seat]);
    const int slot = player != nullptr ? slotHolding(seat, player->chooseCard(seatViewOf(m_state, m_history, seat)))
                                       : m_computer.computerplay(seat);
    if (slot == 0)
        return;
    playcard(PlayCard{seat, slot});
}

// --- session hooks --------------------------------------------------------------------------------

void GameEngine::computerTakesOver(int seat)
{
    if (!m_state.gamerunning || !GameState::isSeat(seat))
        return;
    if (seat == m_state.turnseat && m_state.chooserseat == 0)
        m_timers.arm(TimerId::ComputerTimer, m_botdelay);
    else if (seat == m_state.chooserseat)
        computerchoosehand(seat);
}

std::optional<Hint> GameEngine::hintFor(int seat)
{
    const GameState& s = m_state;
    if (!s.gamerunning || !GameState::isSeat(seat))
        return std::nullopt;
    const bool choosing = seat == s.chooserseat;
    const bool onTurn = seat == s.turnseat && s.chooserseat == 0 && s.playopen && !s.seats[seat].played;
    if (!choosing && !onTurn)
        return std::nullopt;
    const SeatView view = seatViewOf(s, m_history, seat);
    const HintMemo memo{m_gamesStarted, seat, s.contractnumber, view.contract, view.hand, view.gone};
    if (memo == m_hintFor)
        return m_hint;
    Hint hint{seat, 0, 0};
    if (choosing)
        hint.contract = m_master.chooseContract(view);
    else
        hint.handSlot = slotHolding(seat, m_master.chooseCard(view));
    if (hint.handSlot == 0 && !validContract(hint.contract))
        return std::nullopt;
    m_hintFor = memo;
    m_hint = hint;
    return hint;
}

std::optional<DLayout> GameEngine::dominoLayout() const
{
    const GameState& s = m_state;
    if (!s.gamerunning || s.contract != Domino || s.chooserseat != 0)
        return std::nullopt;
    DLayout layout;
    layout.dominoStart = s.domino.dominostart();
    for (int suit = Diamonds; suit <= Spades; ++suit)
        layout.tops[std::size_t(suit - 1)] = s.domino.top(suit);
    for (int seat = 1; seat <= kSeatCount; ++seat)
        layout.held[std::size_t(seat - 1)] = int(std::count_if(
            s.seats[seat].cards.begin() + 1, s.seats[seat].cards.end(), [](int card) { return card != 0; }));
    return layout;
}

void GameEngine::catchUp(int slot)
{
    const GameState& s = m_state;
    if (!s.gamerunning)
        return;
    AGame game;
    game.slot = slot;
    game.round = s.contractnumber;
    game.length = s.gamelength;
    game.director = s.directorseat;
    game.turn = s.turnseat;
    game.contract = s.contract;
    game.dominoStart = s.domino.dominostart();
    game.leader = s.trickleader;
    for (int n = 1; n <= kSeatCount; ++n)
        game.trick[n - 1] = s.trickcards[n];
    m_announcer.toSlot(slot, game);
    m_announcer.scores(slot, true);
    if (GameState::isSeat(slot)) {
        m_announcer.handsused(slot, slot);
        m_announcer.mycards(slot, slot);
    }
}

} // namespace morlu
