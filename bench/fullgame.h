#pragma once

#include "gameengine.h"
#include "timers.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace morlu::bench {

/// Keeps every line the host sends to slot 1, the table that watches the game.
class TranscriptOutbox : public Outbox {
public:
    void toSlot(int slot, std::string_view line) override
    {
        if (slot == 1)
            toAll(line);
    }
    void toAll(std::string_view line) override
    {
        if (!line.empty() && line.back() == '\xff')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (now)
            times.push_back(*now);
    }
    std::vector<std::string> lines;
    std::vector<long long> times; ///< the timers' time of each line, when now is set
    const long long* now = nullptr;
};

/// Repeating timers fired in due order by hand, so a whole game runs at once.
class StepTimers : public Timers {
public:
    void arm(TimerId id, int intervalMs) override
    {
        m_interval[id] = intervalMs;
        m_due[id] = m_now + intervalMs;
    }
    void stop(TimerId id) override { m_due.erase(id); }
    bool fireNext(GameEngine& engine)
    {
        if (m_due.empty())
            return false;
        auto next = m_due.begin();
        for (auto it = m_due.begin(); it != m_due.end(); ++it)
            if (it->second < next->second)
                next = it;
        const TimerId id = next->first;
        m_now = next->second;
        // A timer goes on firing until the engine stops it.
        next->second = m_now + std::max(1, m_interval[id]);
        engine.timerFired(id);
        return true;
    }

    const long long* clock() const { return &m_now; }

private:
    std::map<TimerId, long long> m_due;
    std::map<TimerId, int> m_interval;
    long long m_now = 0;
};

/// The lines a table in seat 1 receives over a full game (24 rounds) of computer players.
inline std::vector<std::string> fullGameTranscript(std::vector<long long>* times = nullptr)
{
    TranscriptOutbox outbox;
    StepTimers timers;
    if (times)
        outbox.now = timers.clock();
    Random random(2026);
    GameEngine engine(outbox, timers, random);
    engine.setBotdelay(0);
    outbox.lines.emplace_back("CMD_sendlogininfo+1");
    engine.seat(1).inuse = 1;
    engine.seat(1).name = "Ann";
    engine.startgame(StartGame{"Ann", "l"});
    engine.seat(1).justwatch = 1;
    engine.computerTakesOver(1);
    while (timers.fireNext(engine)) {
    }
    if (times)
        *times = outbox.times;
    return outbox.lines;
}

} // namespace morlu::bench
