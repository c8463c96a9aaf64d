#include "floodcheck.h"

#include "testtable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
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
    // One at a time, each logged in before the next comes: the host lets only three connections of one
    // address wait for their login at once.
    std::vector<std::unique_ptr<TestTable>> tables;
    for (int i = 0; i < count; ++i) {
        tables.push_back(std::make_unique<TestTable>(port));
        TestTable& table = *tables.back();
        table.keepLines = false;
        if (!waitUntil([&] { return table.slot() != 0; }))
            return false;
        // The host answers a login with the seating; until then the table still waits for its login.
        bool answered = false;
        table.onLine = [&answered](std::string_view) { answered = true; };
        table.send("CMD_logininfo+" + std::to_string(table.slot()) + "+1.0.5+Flood");
        const bool seated = waitUntil([&] { return answered; });
        table.onLine = nullptr;
        if (!seated)
            return false;
    }
    // Lines of 64 KB, requests for another slot's seat: they wait in the host's queue, a tick each.
    for (const auto& table : tables) {
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

namespace {

/// Resident memory of process @p pid in kB (VmRSS), 0 when it cannot be read.
qint64 residentKbOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

/// A port free on the loopback at this moment.
quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

/// A table on @p port that has its slot and has logged in as @p name; retried while the host starts.
std::unique_ptr<TestTable> joined(quint16 port, const std::string& name)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        auto table = std::make_unique<TestTable>(port);
        if (waitUntil([&] { return table->slot() != 0; }, 2000)) {
            table->keepLines = false;
            table->send("CMD_logininfo+" + std::to_string(table->slot()) + "+1.0.5+" + name);
            return table;
        }
        pause(200);
    }
    return nullptr;
}

} // namespace

bool FloodCheck::hostPlayerUnderColourFlood()
{
    const quint16 port = freePort();
    QTemporaryDir home;
    if (port == 0 || !home.isValid())
        return false;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Its settings, tally and single-instance guard in a folder of their own.
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "TMPDIR"})
        environment.insert(QString::fromLatin1(name), home.path());
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(ServerProcess::program(), {QStringLiteral("Boss"), QStringLiteral("127.0.0.1"),
                                             QStringLiteral("true"), QStringLiteral("--port"), QString::number(port)});
    if (!program.waitForStarted(10000))
        return false;
    const auto end = [&program](bool ok) {
        program.terminate();
        if (!program.waitForFinished(10000))
            program.kill();
        return ok;
    };
    std::unique_ptr<TestTable> ann = joined(port, "Ann");
    std::unique_ptr<TestTable> flood = ann ? joined(port, "Flood") : nullptr;
    if (!flood)
        return end(false);

    const std::string floodSlot = std::to_string(flood->slot());
    const std::string floodPrefix = "CMD_chat+" + floodSlot + "+Flood chats: ";
    int relayed = 0;
    flood->onLine = [&](std::string_view line) { relayed += line.starts_with(floodPrefix) ? 1 : 0; };
    std::string expected;
    bool back = false;
    ann->onLine = [&](std::string_view line) { back = back || line == expected; };

    // The flood keeps a few hundred lines waiting at the host, well inside what the host queues.
    constexpr int kAhead = 200;
    int sent = 0;
    const auto topUp = [&] {
        for (; sent < kColourFloodLines && sent - relayed < kAhead; ++sent)
            flood->send("CMD_chat+" + floodSlot + "+line " + std::to_string(sent) + (sent % 2 ? "|clRed" : "|clBlue"));
    };
    std::vector<qint64> trips;
    qint64 memoryAtHalf = 0;
    QElapsedTimer clock;
    clock.start();
    while (relayed < kColourFloodLines) {
        topUp();
        if (memoryAtHalf == 0 && relayed >= kColourFloodLines / 2)
            memoryAtHalf = residentKbOf(program.processId());
        const std::string text = "ping " + std::to_string(trips.size());
        expected = "CMD_chat+" + std::to_string(ann->slot()) + "+Ann chats: " + text + "|clBlack";
        back = false;
        QElapsedTimer trip;
        trip.start();
        ann->send("CMD_chat+" + std::to_string(ann->slot()) + "+" + text + "|clBlack");
        if (!waitUntil(
                [&] {
                    topUp();
                    return back;
                },
                10000)) {
            std::printf("host player's program: no round trip after %d of %d flood lines\n", relayed,
                        kColourFloodLines);
            return end(false);
        }
        trips.push_back(trip.elapsed());
        waitUntil(
            [&] {
                topUp();
                return relayed >= kColourFloodLines;
            },
            100);
        if (flood->closedByHost() || program.state() != QProcess::Running) {
            std::printf("host player's program: the flood table was closed or the program ended\n");
            return end(false);
        }
    }
    const double seconds = double(clock.elapsed()) / 1000.0;
    const qint64 memoryAtEnd = residentKbOf(program.processId());
    std::sort(trips.begin(), trips.end());
    const qint64 p95 = trips.at(trips.size() * 95 / 100);
    const double rate = kColourFloodLines / seconds;
    const qint64 growth = memoryAtEnd - memoryAtHalf;
    std::printf("host player's program, a table sending %d chat lines alternating colours: round trip of another "
                "table median %lld ms, 95th percentile %lld ms, longest %lld ms (%zu chats; target under %lld ms); "
                "relayed %.1f lines/s; memory %lld kB at half, %lld kB at the end\n",
                kColourFloodLines, static_cast<long long>(trips.at(trips.size() / 2)), static_cast<long long>(p95),
                static_cast<long long>(trips.back()), trips.size(), static_cast<long long>(kRoundTripTargetMs), rate,
                static_cast<long long>(memoryAtHalf), static_cast<long long>(memoryAtEnd));
    bool ok = true;
    if (p95 >= kRoundTripTargetMs) {
        std::printf("FAILED: the round trip misses its target\n");
        ok = false;
    }
    if (rate < kMinRelayRate) {
        std::printf("FAILED: the relays fall behind the host's pace\n");
        ok = false;
    }
    if (growth > kMaxGrowthKb) {
        std::printf("FAILED: memory grew by %lld kB over the second half\n", static_cast<long long>(growth));
        ok = false;
    }
    ann->close();
    flood->close();
    return end(ok);
}

int FloodCheck::runHostPlayer()
{
    const bool ok = hostPlayerUnderColourFlood();
    std::printf("%d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);
    return ok ? 0 : 1;
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
    bool ok = quick && survived && memoryCameBack(start, hostMemory());
    const bool running = m_server.process().state() == QProcess::Running;
    if (running)
        m_server.terminate();
    std::printf("%d passed, %d failed\n", ok && running ? 1 : 0, ok && running ? 0 : 1);
    return ok && running ? 0 : 1;
}

} // namespace morlu::test
