#pragma once

#include "memorylistener.h"
#include "printers.h"
#include "testtable.h"
#include "tserver.h"
#include "tsock.h"
#include "tsocklistener.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace morlu::test {

/// What carries the tables' lines: in-memory connections, or TCP on the loopback.
enum class Transport { Memory, Tcp };

inline std::string transportName(const ::testing::TestParamInfo<Transport>& info)
{
    return info.param == Transport::Memory ? "Memory" : "Tcp";
}

inline void PrintTo(Transport transport, std::ostream* os)
{
    *os << (transport == Transport::Memory ? "Memory" : "Tcp");
}

/**
 * A host dispatching one line per event-loop turn, listening in memory or on a free loopback port, and
 * the scripted tables connected to it.
 */
struct TestHost {
    explicit TestHost(Transport transport)
        : memory(transport == Transport::Memory ? new MemoryListener : nullptr),
          server(memory ? std::unique_ptr<ConnectionListener>(memory) : std::make_unique<TSockListener>())
    {
        server.setDispatchInterval(0);
        server.listen(QStringLiteral("0"));
    }

    /// A new table, connecting to the host (not waited for).
    TestTable& connect()
    {
        tables.push_back(memory ? std::make_unique<TestTable>(memory->connect())
                                : std::make_unique<TestTable>(server.port()));
        return *tables.back();
    }

    MemoryListener* memory; ///< owned by the server; null over TCP
    TServer server;
    std::vector<std::unique_ptr<TestTable>> tables;
};

/**
 * A host with its log kept for checks (see TestHost), and helpers that open scripted tables against it.
 * In memory unless a test asks for TCP.
 */
class SessionFixture : public ::testing::Test {
protected:
    explicit SessionFixture(Transport transport = Transport::Memory)
        : host(transport), server(host.server), port(server.port()), tables(host.tables)
    {
        server.setLogger([this](const QString& text) { log.append(text); });
        // Whatever escapes a connection's handler would end up in an error dialog on the host player's screen.
        TSock::setUncaughtErrorHandler([this](const QString& text) { uncaught.append(text); });
    }
    ~SessionFixture() override { TSock::setUncaughtErrorHandler(nullptr); }

    void TearDown() override { EXPECT_EQ(uncaught, QStringList()); }

    /// A new table, connected and given its slot (or refused).
    TestTable& open()
    {
        TestTable& table = host.connect();
        table.waitSlot();
        return table;
    }
    /// A new table, logged in as @p name; returns once every table has heard of it and it has heard
    /// of every other table.
    TestTable& join(const std::string& name, const std::string& version = "1.0.5")
    {
        TestTable& table = host.connect();
        EXPECT_TRUE(table.login(name, version)) << name;
        const std::string announced = "CMD_newplayerinfo+" + std::to_string(table.slot()) + "+" + name;
        for (const auto& other : tables) {
            if (other->connected() && !other->closedByHost() && other->slot() != 0 &&
                server.slot(other->slot()).inuse == 1) {
                EXPECT_TRUE(other->waitFor(announced)) << name;
            }
        }
        std::size_t others = 0;
        for (int k = 1; k <= server.slotcount(); ++k)
            others += k != table.slot() && server.slot(k).inuse == 1 ? 1 : 0;
        EXPECT_TRUE(waitUntil([&] { return table.linesOf("CMD_existingplayers").size() >= others; })) << name;
        return table;
    }
    /// Waits until slot @p n is free again on the host.
    bool waitFree(int n)
    {
        return waitUntil([&] { return server.slot(n).inuse == 0; });
    }
    /// Sends @p marker as a chat of @p from and waits until @p to has it relayed: everything @p from
    /// sent before has been dispatched by then, since the host handles lines in arrival order.
    bool flush(TestTable& from, TestTable& to, const std::string& marker = "marker")
    {
        const std::string name = server.slot(from.slot()).name;
        const std::size_t seen = to.count();
        from.send("CMD_chat+" + std::to_string(from.slot()) + "+" + marker + "|clBlack");
        return to.waitFor("CMD_chat+" + std::to_string(from.slot()) + "+" + name + " chats: " + marker + "|clBlack",
                          seen);
    }
    bool logged(const QString& text) const
    {
        for (const QString& line : log) {
            if (line.contains(text))
                return true;
        }
        return false;
    }

    TestHost host;
    TServer& server;
    QStringList log;
    QStringList uncaught;
    quint16 port = 0;
    std::vector<std::unique_ptr<TestTable>>& tables;
};

/// The fixture of the host's own tests: a host in memory (see SessionFixture).
class TServerTest : public SessionFixture {};

} // namespace morlu::test
