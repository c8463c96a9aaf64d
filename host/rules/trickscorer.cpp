#include "trickscorer.h"

#include "gamemessages.h"

namespace morlu {

namespace {

enum PenaltyKind : int { KingOfHearts = 1, Queen = 2, Spade = 3, FirstTrick = 4, LastTrick = 5 };

} // namespace

void TrickScorer::score(int winner)
{
    for (int n = 1; n <= kSeatCount; ++n)
        m_state.seats[n].money = 0;
    switch (m_state.contract) {
    case Morlu:
        check1(winner);
        break;
    case Waterloo:
        check2(winner);
        break;
    case Siege:
        check3(winner);
        break;
    case Touche:
        check4();
        break;
    case Guillotine:
        check1(winner);
        check2(winner);
        check3(winner);
        check4();
        break;
    default:
        break;
    }
    settle();
}

void TrickScorer::charge(int taker, int kind, int amount, bool roundOver)
{
    const bool director = taker == m_state.directorseat;
    if (!director)
        m_state.seats[taker].money += amount;
    m_announcer.toAll(Took{taker, kind, director, roundOver});
}

void TrickScorer::check1(int winner)
{
    for (int n = 1; n <= kSeatCount; ++n) {
        if (m_state.trickcards[n] != kKingOfHearts)
            continue;
        const bool roundOver = m_state.contract == Morlu;
        if (roundOver)
            m_state.tricknumber = 8;
        charge(winner, KingOfHearts, kKingOfHeartsCost, roundOver);
    }
}

void TrickScorer::check2(int winner)
{
    for (int n = 1; n <= kSeatCount; ++n) {
        if (!isQueen(m_state.trickcards[n]))
            continue;
        bool roundOver = false;
        if (m_state.contract == Waterloo && ++m_state.queenstaken == 4) {
            roundOver = true;
            m_state.tricknumber = 8;
        }
        charge(winner, Queen, kQueenCost, roundOver);
    }
}

void TrickScorer::check3(int winner)
{
    for (int n = 1; n <= kSeatCount; ++n) {
        if (!isSpade(m_state.trickcards[n]))
            continue;
        bool roundOver = false;
        if (m_state.contract == Siege && ++m_state.spadestaken == 8) {
            roundOver = true;
            m_state.tricknumber = 8;
        }
        charge(winner, Spade, kSpadeCost, roundOver);
    }
}

void TrickScorer::check4()
{
    for (int n = 1; n <= kSeatCount; ++n) {
        SeatRecord& record = m_state.seats[n];
        if (record.tookfirst) {
            record.tookfirst = 0;
            charge(n, FirstTrick, kTrickCost, false);
        }
        if (record.tooklast) {
            record.tooklast = 0;
            charge(n, LastTrick, kTrickCost, false);
        }
    }
}

void TrickScorer::settle()
{
    SeatRecord& director = m_state.seats[m_state.directorseat];
    director.money = 0;
    for (int n = 1; n <= kSeatCount; ++n) {
        SeatRecord& record = m_state.seats[n];
        if (n == m_state.directorseat || record.money <= 0)
            continue;
        director.money += record.money;
        record.bank -= record.money;
        record.money = -record.money;
    }
    director.bank += director.money;
}

} // namespace morlu
