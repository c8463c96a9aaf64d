#include "recordedgame.h"

#include "fakeclock.h"
#include "gameengine.h"

namespace morlu::test {

namespace {

/// Keeps what the host sends slot 1, stamped with the clock's time.
class StampingOutbox : public Outbox {
public:
    StampingOutbox(GameRecord& record, const FakeClock& clock) : m_record(record), m_clock(clock) {}
    void toSlot(int slot, std::string_view line) override
    {
        if (slot == 1)
            toAll(line);
    }
    void toAll(std::string_view line) override
    {
        if (!line.empty() && line.back() == '\xff')
            line.remove_suffix(1);
        m_record.lines.push_back(RecordedLine{m_clock.now(), std::string(line), 0});
    }

private:
    GameRecord& m_record;
    const FakeClock& m_clock;
};

} // namespace

GameRecord recordedGame(std::uint32_t seed, const std::string& length)
{
    GameRecord record;
    record.headers = {{"date", "2026-12-08 14:25:01"},
                      {"host", "127.0.0.1"},
                      {"seat", "1"},
                      {"name", "Ann"},
                      {"name1", "Ann"},
                      {"name2", "Klot"},
                      {"name3", "Klock"},
                      {"name4", "Kling"}};
    FakeClock clock;
    StampingOutbox outbox(record, clock);
    Random random(seed);
    GameEngine engine(outbox, clock, random);
    clock.setHandler([&](TimerId id) { engine.timerFired(id); });
    engine.setBotdelay(0);
    engine.seat(1).inuse = 1;
    engine.seat(1).name = "Ann";
    engine.startgame(StartGame{"Ann", length});
    engine.seat(1).justwatch = 1;
    engine.computerTakesOver(1);
    for (int steps = 0; clock.fireNext() && steps < 200000; ++steps) {
    }
    int fileLine = 1 + int(record.headers.size());
    for (RecordedLine& line : record.lines)
        line.fileLine = ++fileLine;
    return record;
}

QByteArray recordFile(const GameRecord& record)
{
    std::string text(gamerecord::kFirstLine);
    text += '\n';
    for (const auto& [key, value] : record.headers)
        text += "# " + key.toStdString() + ": " + gamerecord::escape(value.toStdString()) + '\n';
    for (const RecordedLine& line : record.lines)
        text += std::to_string(line.milliseconds) + ' ' + gamerecord::escape(line.text) + '\n';
    if (record.unfinished)
        text += std::string(gamerecord::kUnfinished) + '\n';
    return QByteArray::fromStdString(text);
}

} // namespace morlu::test
