#include "recordedgame.h"

#include "fakeclock.h"
#include "gameengine.h"
#include "watchedgame.h"

namespace morlu::test {

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
    // What the host sends slot 1, stamped with the clock's time.
    SlotOneOutbox outbox([&](std::string_view line) {
        record.lines.push_back(RecordedLine{clock.now(), std::string(line), 0});
    });
    Random random(seed);
    GameEngine engine(outbox, clock, random);
    startWatchedGame(engine, clock, length);
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
