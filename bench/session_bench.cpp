// Cost of the host session: dispatching one queued request with its relay to the seated tables (the
// 10 ms pacing left out), and a table's round trip from a chat request to the relayed line coming back
// over loopback.

#include "lineframer.h"
#include "sessionmessages.h"
#include "tserver.h"
#include "tsock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

using namespace morlu;

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "morlu_bench";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
}

/// Spins the event loop until @p done holds (or 10 s pass).
template <typename Done> bool spin(Done&& done)
{
    const QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

/// A table that counts the lines the host sends it.
struct Table {
    explicit Table(quint16 port)
    {
        sock.setHostName(QStringLiteral("127.0.0.1"));
        sock.setPortName(QString::number(port));
        sock.OnRead = [this](TSock* s, qsizetype) {
            const QByteArray bytes = s->Receive();
            framer.feed(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                        [this](std::string_view) { ++lines; });
        };
        sock.Open();
    }
    void send(std::string_view line) { sock.Send(QByteArrayView(line.data(), qsizetype(line.size()))); }

    TSock sock;
    LineFramer framer;
    long lines = 0;
};

/// A host with @p tables logged-in tables; lines are dispatched by hand unless @p interval is set.
struct Session {
    Session(int tables, int interval)
    {
        ensureApplication();
        server.setLogger([](const QString&) {});
        server.setDispatchInterval(interval);
        server.listen(QStringLiteral("0"));
        std::string line;
        for (int n = 1; n <= tables; ++n) {
            this->tables.push_back(std::make_unique<Table>(server.port()));
            Table& table = *this->tables.back();
            spin([&] { return table.lines >= 1; }); // CMD_sendlogininfo
            table.send(LoginInfo{n, kVersionText, "Player" + std::to_string(n)}.write(line));
            spin([&] { return server.waitingLines() > 0 || server.slot(n).name.size() > 0; });
            drain();
        }
    }
    void drain()
    {
        while (server.waitingLines() > 0)
            server.socktimerTimer();
    }
    long received() const
    {
        long total = 0;
        for (const auto& table : tables)
            total += table->lines;
        return total;
    }

    TServer server;
    std::vector<std::unique_ptr<Table>> tables;
};

void BM_HostDispatchChatRelay(benchmark::State& state)
{
    const int receivers = int(state.range(0));
    constexpr int kBatch = 256;
    Session session(receivers, 3600000);
    Table& sender = *session.tables.front();
    std::string batch;
    std::string line;
    for (int i = 0; i < kBatch; ++i)
        batch += writeChatRequest(line, 1, "good move, partner", "clBlack");
    for (auto _ : state) {
        state.PauseTiming();
        sender.send(batch);
        spin([&] { return session.server.waitingLines() == std::size_t(kBatch); });
        const long expected = session.received() + long(kBatch) * receivers;
        state.ResumeTiming();
        for (int i = 0; i < kBatch; ++i)
            session.server.socktimerTimer();
        state.PauseTiming();
        spin([&] { return session.received() >= expected; });
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.SetLabel(std::to_string(receivers) + " tables");
}
BENCHMARK(BM_HostDispatchChatRelay)->Arg(1)->Arg(4)->Arg(9)->Unit(benchmark::kMicrosecond);

void BM_HostDispatchNoReply(benchmark::State& state)
{
    // A bot speed request: popped, dispatched, read and checked, with nothing sent back.
    constexpr int kBatch = 256;
    Session session(1, 3600000);
    Table& sender = *session.tables.front();
    std::string batch;
    std::string line;
    for (int i = 0; i < kBatch; ++i)
        batch += BotSpeed{1, 500 + i}.write(line);
    for (auto _ : state) {
        state.PauseTiming();
        sender.send(batch);
        spin([&] { return session.server.waitingLines() == std::size_t(kBatch); });
        state.ResumeTiming();
        for (int i = 0; i < kBatch; ++i)
            session.server.socktimerTimer();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_HostDispatchNoReply)->Unit(benchmark::kMicrosecond);

void BM_LoopbackChatRoundTrip(benchmark::State& state)
{
    Session session(2, int(state.range(0)));
    Table& table = *session.tables.front();
    std::string line;
    writeChatRequest(line, 1, "hello", "clBlack");
    for (auto _ : state) {
        const long before = table.lines;
        table.send(line);
        spin([&] { return table.lines > before; });
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("dispatch interval " + std::to_string(state.range(0)) + " ms");
}
BENCHMARK(BM_LoopbackChatRoundTrip)->Arg(0)->Arg(10)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
