// Arbitrary received bytes through the whole receiving path: the framer (in random chunkings, which
// must agree with a single read), the line queue, and the host's and the table's dispatchers with every
// message reader registered. Every message that reads must write back to a line that reads the same.

#include "dispatcher.h"
#include "fieldreader.h"
#include "gamemessages.h"
#include "lineframer.h"
#include "linequeue.h"
#include "sessionmessages.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace morlu;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string g_buffer;

template <typename Message> void roundTrip(std::string_view rest)
{
    const Message message = Message::read(rest);
    const std::string_view line = message.write(g_buffer);
    check(!line.empty() && line.back() == '\xFF');
    const std::string_view body = line.substr(0, line.size() - 1);
    check(body.find('\xFF') == std::string_view::npos);
    const CommandLine command = splitCommand(body);
    check(command.word == Message::command);
    check(Message::read(command.rest) == message);
}

template <typename Message, typename... Args> void add(Dispatcher<Args...>& dispatcher)
{
    dispatcher.add(Message::command, [](std::string_view rest, Args...) { roundTrip<Message>(rest); });
}

struct Dispatchers {
    Dispatcher<int> host;
    Dispatcher<> table;

    Dispatchers()
    {
        add<LoginInfo>(host);
        add<KickHim>(host);
        add<BotSpeed>(host);
        add<StartGame>(host);
        add<JustWatch>(host);
        add<ChooseType>(host);
        add<PlayCard>(host);
        add<PlayASoundRequest>(host);
        // The host relays chat and action; the relay must read back on the table with the same slot.
        host.add(CMD_chat, [](std::string_view rest, int) {
            roundTrip<ChatRequest>(rest);
            const ChatRequest request = ChatRequest::read(rest);
            std::string relayed;
            const std::string_view line = ChatRelay::relay(relayed, request.slot, "Na+me|x", request.rest);
            const CommandLine command = splitCommand(line.substr(0, line.size() - 1));
            check(ChatRelay::read(command.rest).slot == request.slot);
        });
        host.add(CMD_action, [](std::string_view rest, int) { roundTrip<ActionRequest>(rest); });

        add<SendLoginInfo>(table);
        add<Full>(table);
        add<NewPlayerInfo>(table);
        add<ExistingPlayers>(table);
        add<PlayerDisconnected>(table);
        add<HaveWrongVersion>(table);
        add<WrongVersion>(table);
        add<JustWatching>(table);
        add<ChatRelay>(table);
        add<ActionRelay>(table);
        add<PlayASound>(table);
        add<StartGame>(table);
        add<StartRound>(table);
        add<MyCards>(table);
        add<ChooseHand>(table);
        add<AlreadyChoose>(table);
        add<StartHand>(table);
        add<NextPlayer>(table);
        add<PlaceCard>(table);
        add<DPlaceCard>(table);
        add<AError>(table);
        add<EndHand>(table);
        add<DEndHand>(table);
        add<Took>(table);
        add<Scores>(table);
        add<HandsUsed>(table);
        add<AGame>(table);
        add<Winner>(table);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Dispatchers dispatchers;
    if (size == 0)
        return 0;
    std::uint32_t random = data[0] * 2654435761u + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    // One read.
    std::vector<std::string> whole;
    LineFramer oneRead;
    const auto wholeStatus = oneRead.feed(bytes, [&](std::string_view line) { whole.emplace_back(line); });

    // The same bytes in random pieces, queued from two connections in turn.
    LineFramer chunked;
    LineQueue queue;
    auto status = LineFramer::Status::Ok;
    std::size_t at = 0;
    int connection = 1;
    while (at < bytes.size() && status == LineFramer::Status::Ok) {
        random = random * 1103515245u + 12345u;
        const std::size_t piece = 1 + (random >> 16) % 64;
        status = chunked.feed(bytes.substr(at, piece), queue, connection);
        connection = 3 - connection;
        at += piece;
    }
    check(status == wholeStatus);
    check(queue.size() == whole.size());
    check(queue.waitingFrom(1) + queue.waitingFrom(2) == whole.size());
    if (status == LineFramer::Status::Ok)
        check(chunked.pending() == oneRead.pending());

    QueuedLine line;
    std::size_t index = 0;
    while (queue.pop(line)) {
        check(line.text == whole[index++]);
        try {
            dispatchers.host.dispatch(line.text, line.connection);
        } catch (const FieldError&) {
        }
        try {
            dispatchers.table.dispatch(line.text);
        } catch (const FieldError&) {
        }
    }
    check(queue.empty() && queue.waitingFrom(1) == 0 && queue.waitingFrom(2) == 0);
    return 0;
}
