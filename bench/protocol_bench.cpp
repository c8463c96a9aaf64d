// Cost of the message protocol: building the engine's lines into a reused buffer, reading a request,
// and cutting received bytes into queued lines.

#include "dispatcher.h"
#include "gamemessages.h"
#include "lineframer.h"
#include "linequeue.h"
#include "sessionmessages.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

using namespace morlu;

namespace {

void BM_BuildPlaceCard(benchmark::State& state)
{
    std::string buffer;
    int i = 0;
    for (auto _ : state) {
        const PlaceCard message{i % 4 + 1, i % 32 + 1, i % 8 + 1, i % 4 == 0};
        benchmark::DoNotOptimize(message.write(buffer));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildPlaceCard);

void BM_BuildScores(benchmark::State& state)
{
    std::string buffer;
    std::array<ScoreGroup, 4> groups{{{1, 10000, 0}, {2, 9200, -800}, {3, 10800, 800}, {4, 10000, 0}}};
    for (auto _ : state) {
        groups[1].bank -= 100;
        benchmark::DoNotOptimize(Scores::write(buffer, groups));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildScores);

void BM_BuildMyCards(benchmark::State& state)
{
    std::string buffer;
    const std::array<HandCard, 8> held{{{1, 3}, {2, 5}, {3, 9}, {4, 12}, {5, 17}, {6, 22}, {7, 25}, {8, 30}}};
    for (auto _ : state)
        benchmark::DoNotOptimize(MyCards::write(buffer, 2, held));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildMyCards);

void BM_ReadPlayCard(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PlayCard::read("3+5+"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadPlayCard);

/// A received stream of typical game lines, cut into pieces of state.range(0) bytes.
std::string gameStream()
{
    std::string stream;
    std::string buffer;
    while (stream.size() < 256 * 1024) {
        stream += StartHand{}.write(buffer);
        for (int seat = 1; seat <= 4; ++seat) {
            stream += NextPlayer{seat}.write(buffer);
            stream += PlaceCard{seat, seat * 7, seat, seat == 1}.write(buffer);
        }
        stream += EndHand{3}.write(buffer);
        stream += Took{3, 3, false, false}.write(buffer);
        const std::array<ScoreGroup, 4> groups{{{1, 10000, 0}, {2, 9200, -800}, {3, 10800, 800}, {4, 10000, 0}}};
        stream += Scores::write(buffer, groups);
        stream += writeChatRequest(buffer, 2, "well played, everyone", "clBlack");
    }
    return stream;
}

void BM_FrameAndQueue(benchmark::State& state)
{
    const std::string stream = gameStream();
    const auto piece = static_cast<std::size_t>(state.range(0));
    LineFramer framer;
    LineQueue queue;
    QueuedLine line;
    std::size_t lines = 0;
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += piece)
            framer.feed(std::string_view(stream).substr(at, piece), queue, 1);
        while (queue.pop(line))
            ++lines;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FrameAndQueue)->Arg(1460)->Arg(16);

void BM_DispatchLine(benchmark::State& state)
{
    Dispatcher<int> dispatcher;
    int sum = 0;
    for (const std::string_view word : {CMD_logininfo, CMD_kickhim, CMD_chat, CMD_action, CMD_botspeed, CMD_startgame,
                                        CMD_justwatch, CMD_choosetype, CMD_playcard, CMD_playasound})
        dispatcher.add(word, [&](std::string_view rest, int) { sum += static_cast<int>(rest.size()); });
    dispatcher.add(CMD_playcard, [&](std::string_view rest, int) { sum += PlayCard::read(rest).handSlot; });
    for (auto _ : state)
        benchmark::DoNotOptimize(dispatcher.dispatch("CMD_playcard+3+5+", 3));
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchLine);

} // namespace
