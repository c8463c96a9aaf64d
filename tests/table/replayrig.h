#pragma once

#include "gamerecord.h"
#include "replaycontroller.h"

#include <memory>
#include <string>
#include <vector>

namespace morlu::test {

/// What the controller did to the table: the lines it holds since the last reset, and how.
class TargetRecorder : public ReplayTarget {
public:
    std::vector<std::string> held;
    int resets = 0;
    int batches = 0;
    int depth = 0;
    int linesOutsideBatches = 0;

    void resetGame() override
    {
        ++resets;
        held.clear();
    }
    void feed(std::string_view line) override
    {
        held.emplace_back(line);
        if (depth == 0)
            ++linesOutsideBatches;
    }
    void beginBatch() override
    {
        ++batches;
        ++depth;
    }
    void endBatch() override { --depth; }
};

class HandTimer : public OneShotTimer {
public:
    std::vector<int>* armed;
    bool* running;
    HandTimer(std::vector<int>& a, bool& r) : armed(&a), running(&r) {}
    void start(int milliseconds) override
    {
        armed->push_back(milliseconds);
        *running = true;
    }
    void stop() override { *running = false; }
    bool isActive() const override { return *running; }
};

/// Two rounds: the first with two tricks, the second a DOMINO round; a chat line between. Lines are
/// 1000 ms apart, except for a 9000 ms pause before the second round.
inline morlu::GameRecordRead twoRounds()
{
    const std::vector<std::string> words = {
        "CMD_startgame+Ann+s+",        // 1
        "CMD_startround+1+1+",         // 2  round 1 starts after it
        "CMD_mycards+1+1+1+2+2",       // 3
        "CMD_choosehand+1+1+0+",       // 4
        "CMD_starthand+",              // 5  trick 1 starts after it
        "CMD_nextplayer+2+",           // 6
        "CMD_placecard+2+9+0+t+",      // 7
        "CMD_endhand+2+",              // 8
        "CMD_starthand+",              // 9  trick 2
        "CMD_chat+hello|clBlack",      // 10
        "CMD_placecard+2+10+0+t+",     // 11
        "CMD_startround+2+2+",         // 12 round 2
        "CMD_choosehand+2+6+0+",       // 13
        "CMD_starthand+",              // 14 its one hand
        "CMD_dplacecard+2+1+5+0+5+7+", // 15
        "CMD_winner+Klot+",            // 16
    };
    morlu::GameRecordRead read;
    qint64 ms = 0;
    for (std::size_t n = 0; n < words.size(); ++n) {
        ms += n == 11 ? 9000 : 1000;
        read.record.lines.push_back({ms, words[n], int(n) + 2});
    }
    return read;
}

struct Rig {
    TargetRecorder target;
    std::vector<int> armed;
    bool running = false;
    ReplayController controller{target, std::make_unique<HandTimer>(armed, running)};
    explicit Rig(morlu::GameRecordRead read = twoRounds()) { controller.load(std::move(read)); }
};

} // namespace morlu::test
