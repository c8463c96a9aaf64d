// The host as tables see it: a TServer with the game engine, its tables joined through in-memory
// connections. The input is a script of steps: tables arrive, leave in order or with a reset, and send
// lines (requests built around the fuzzer's bytes, or raw bytes), with the host dispatching and the
// engine playing the computer seats in between. After every step: no line the host sent is longer than
// a table accepts, and while a game runs the four banks add up to the 40000 dollars they started with.
// Nothing waits on the clock: dispatch and game pauses take no time and the event loop is pumped.

#include "lineframer.h"
#include "memorylistener.h"
#include "tserver.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace morlu;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

/// Reads the script: bytes on demand, zeros once it is used up.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_at >= m_size; }
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    /// Up to @p max bytes of the script as text.
    std::string text(std::size_t max)
    {
        const std::size_t length = std::min<std::size_t>(byte() % (max + 1), m_size - std::min(m_at, m_size));
        std::string out(reinterpret_cast<const char*>(m_data + m_at), length);
        m_at += length;
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

/// One table: its end of the connection, checking every line the host sends it.
struct Table {
    explicit Table(std::unique_ptr<MemoryConnection> end) : connection(std::move(end))
    {
        QObject::connect(connection.get(), &LineConnection::lineReceived,
                         [](std::string_view line) { check(line.size() <= LineFramer::kMaxLine); });
        QObject::connect(connection.get(), &LineConnection::lineTooLong, [] { check(false); });
    }
    void send(const std::string& line)
    {
        if (connection->isOpen())
            connection->sendLine(line + '\xFF');
    }
    std::unique_ptr<MemoryConnection> connection;
};

void pump(const TServer& server)
{
    // Enough turns for every request to be dispatched and the computers to play a while.
    for (int i = 0; i < 64; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    (void)server;
}

void checkBanks(const TServer& server)
{
    if (!server.engine().gamerunning())
        return;
    std::int64_t sum = 0;
    for (int seat = 1; seat <= 4; ++seat)
        sum += server.engine().seat(seat).bank;
    check(sum == 40000);
}

std::string slotText(Script& script)
{
    const std::uint8_t b = script.byte();
    return b < 240 ? std::to_string(1 + b % 9) : std::to_string(int(b) - 245);
}

/// A line for one step: mostly well-formed requests with fuzzed fields, sometimes anything.
std::string requestLine(Script& script)
{
    switch (script.byte() % 12) {
    case 0:
        return "CMD_logininfo+" + slotText(script) + "+1.0.5+" + script.text(60);
    case 1:
        return "CMD_startgame+" + script.text(8) + "+" + std::string(1, "shf"[script.byte() % 3]) + "+";
    case 2:
        return "CMD_playcard+" + slotText(script) + "+" + std::to_string(script.byte() % 10) + "+";
    case 3:
        return "CMD_choosetype+" + slotText(script) + "+" + std::to_string(script.byte() % 8) + "+";
    case 4:
        return "CMD_justwatch+" + slotText(script) + "+" + std::to_string(1 + script.byte() % 2);
    case 5:
        return "CMD_chat+" + slotText(script) + "+" + script.text(200) + "|clBlack";
    case 6: {
        // A text near the longest line a table may send.
        const std::string piece = script.text(8);
        std::string line = "CMD_action+" + slotText(script) + "+";
        while (!piece.empty() && line.size() + piece.size() <= LineFramer::kMaxLine - script.byte() % 4)
            line += piece;
        return line;
    }
    case 7:
        return "CMD_botspeed+" + slotText(script) + "+" + std::to_string(int(script.byte()) * 100 - 500) + "+";
    case 8:
        return "CMD_kickhim+" + slotText(script) + "+" + slotText(script) + "+";
    case 9:
        return "CMD_playasound+" + slotText(script) + "+wave" + std::to_string(script.byte() % 22) + "+";
    default:
        return script.text(255);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Script script(data, size);
    auto* memory = new MemoryListener;
    TServer server{std::unique_ptr<ConnectionListener>(memory)};
    server.setLogger([](const QString&) {});
    server.setDispatchInterval(0);
    server.setLoginTimeout(0);
    server.engine().setPauseTick(0);
    server.useSeed(script.byte());
    server.listen(QStringLiteral("0"));
    std::vector<std::unique_ptr<Table>> tables;
    int steps = 0;
    while (!script.done() && ++steps < 200) {
        const std::uint8_t op = script.byte();
        Table* table = tables.empty() ? nullptr : tables[script.byte() % tables.size()].get();
        switch (op % 8) {
        case 0:
        case 1:
            if (tables.size() < 12)
                tables.push_back(std::make_unique<Table>(memory->connect()));
            break;
        case 2:
            if (table != nullptr)
                table->connection->close();
            break;
        case 3:
            if (table != nullptr)
                table->connection->reset();
            break;
        default:
            if (table != nullptr)
                table->send(requestLine(script));
            break;
        }
        pump(server);
        checkBanks(server);
    }
    return 0;
}
