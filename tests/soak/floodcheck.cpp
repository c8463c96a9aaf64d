#include "floodcheck.h"

#include "testtable.h"

#include <QElapsedTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace morlu::test {

namespace {

void pause(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

} // namespace

qint64 FloodCheck::hostMemory()
{
    return m_server.residentKb();
}

bool FloodCheck::roundTripUnderFlood(quint16 port)
{
    TestTable ann(port);
    TestTable flood(port);
    ann.keepLines = false;
    flood.keepLines = false;
    if (!waitUntil([&] { return ann.slot() != 0 && flood.slot() != 0; }))
        return false;
    ann.send("CMD_logininfo+" + std::to_string(ann.slot()) + "+1.0.5+Ann");
    flood.send("CMD_logininfo+" + std::to_string(flood.slot()) + "+1.0.5+Flood");
    // Requests that cost a tick each and send nothing: bot speed from a slot other than 1.
    QByteArray burst;
    for (int i = 0; i < 180; ++i)
        burst += "CMD_botspeed+" + QByteArray::number(flood.slot()) + "+5+\xFF";
    std::string expected;
    bool back = false;
    ann.onLine = [&](std::string_view line) { back = back || line == expected; };
    qint64 longest = 0;
    qint64 total = 0;
    int pings = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 nextBurst = 0;
    while (clock.elapsed() < 20000) {
        if (clock.elapsed() >= nextBurst) {
            flood.sendRaw(burst); // 90 requests a second: the host's whole pace
            nextBurst += 2000;
        }
        const std::string text = "ping " + std::to_string(pings);
        expected = "CMD_chat+" + std::to_string(ann.slot()) + "+Ann chats: " + text + "|clBlack";
        back = false;
        QElapsedTimer trip;
        trip.start();
        ann.send("CMD_chat+" + std::to_string(ann.slot()) + "+" + text + "|clBlack");
        if (!waitUntil([&] { return back; }, 5000))
            return false;
        longest = std::max(longest, trip.elapsed());
        total += trip.elapsed();
        ++pings;
        pause(100);
    }
    const bool quick = longest < kRoundTripLimitMs;
    std::printf("chat round trip while another table floods the host: longest %lld ms, mean %.1f ms (%d chats): "
                "%s (limit %d ms)\n",
                static_cast<long long>(longest), double(total) / pings, pings, quick ? "ok" : "TOO SLOW",
                kRoundTripLimitMs);
    ann.close();
    flood.close();
    if (flood.closedByHost())
        std::printf("the flooding table was closed, though it stayed within the limits\n");
    return quick && !flood.closedByHost();
}

bool FloodCheck::memoryAfterFlood(quint16 port, int count, int lines)
{
    const qint64 before = hostMemory();
    std::vector<std::unique_ptr<TestTable>> tables;
    for (int i = 0; i < count; ++i) {
        tables.push_back(std::make_unique<TestTable>(port));
        tables.back()->keepLines = false;
    }
    if (!waitUntil([&] {
            for (const auto& table : tables) {
                if (table->slot() == 0)
                    return false;
            }
            return true;
        }))
        return false;
    // Lines of 64 KB, requests for another slot's seat: they wait in the host's queue, a tick each.
    for (const auto& table : tables) {
        table->send("CMD_logininfo+" + std::to_string(table->slot()) + "+1.0.5+Flood");
        const QByteArray line =
            "CMD_playcard+" + QByteArray::number(table->slot() % 4 + 1) + "+" + QByteArray(65000, '1') + "+\xFF";
        for (int i = 0; i < lines; ++i)
            table->sendRaw(line);
    }
    qint64 during = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000) {
        pause(250);
        during = std::max(during, hostMemory());
    }
    for (const auto& table : tables)
        table->close();
    tables.clear();
    pause(3000);
    const qint64 after = hostMemory();
    std::printf("host memory around %d tables each sending %d lines of 64 KB: before %lld kB, during %lld kB, "
                "after they left %lld kB\n",
                count, lines, static_cast<long long>(before), static_cast<long long>(during),
                static_cast<long long>(after));
    return after > 0;
}

bool FloodCheck::memoryCameBack(qint64 start, qint64 after)
{
    const bool back = start > 0 && after > 0 && after * 100 <= start * (100 + kMemoryMarginPercent);
    std::printf("host memory after the floods: %lld kB against %lld kB at the start: %s (limit +%d%%)\n",
                static_cast<long long>(after), static_cast<long long>(start), back ? "ok" : "NOT GIVEN BACK",
                kMemoryMarginPercent);
    return back;
}

int FloodCheck::run()
{
    m_server.start(
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--pause-tick-ms"), QStringLiteral("0")});
    const quint16 port = m_server.waitListening();
    if (port == 0)
        return 1;
    const bool quick = roundTripUnderFlood(port);
    // The start is taken once the host has settled after the chat, so it holds what any host holds.
    pause(1000);
    const qint64 start = hostMemory();
    const bool survived = memoryAfterFlood(port, 4, 1000) && memoryAfterFlood(port, 8, 60);
    const bool ok = quick && survived && memoryCameBack(start, hostMemory());
    const bool running = m_server.process().state() == QProcess::Running;
    if (running)
        m_server.terminate();
    std::printf("%d passed, %d failed\n", ok && running ? 1 : 0, ok && running ? 0 : 1);
    return ok && running ? 0 : 1;
}

} // namespace morlu::test
