#include "watchedgame.h"

#include "fakeclock.h"
#include "gameengine.h"

namespace morlu::test {

void startWatchedGame(GameEngine& engine, FakeClock& clock, const std::string& length)
{
    clock.setHandler([&engine](TimerId id) { engine.timerFired(id); });
    engine.setBotdelay(0);
    engine.seat(1).inuse = 1;
    engine.seat(1).name = "Ann";
    engine.startgame(StartGame{"Ann", length});
    engine.seat(1).justwatch = 1;
    engine.computerTakesOver(1);
}

} // namespace morlu::test
