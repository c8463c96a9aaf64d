#include "gameengine.h"

namespace morlu {

GameEngine::GameEngine(Outbox& outbox, Timers& timers, Random& random)
    : m_outbox(outbox), m_timers(timers), m_random(random)
{
    m_seats[2].botname = "Klot";
    m_seats[3].botname = "Klock";
    m_seats[4].botname = "Kling";
}

void GameEngine::startgame(std::string_view) {}

void GameEngine::choosetype(std::string_view) {}

void GameEngine::playcard(std::string_view) {}

void GameEngine::timerFired(TimerId) {}

void GameEngine::computerTakesOver(int) {}

void GameEngine::catchUp(int) {}

} // namespace morlu
