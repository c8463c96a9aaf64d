#pragma once

#include "printers.h"
#include "testtable.h"
#include "tserver.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace morlu::test {

/**
 * A host listening on a free loopback port, dispatching one line per event-loop turn, with its log
 * kept for checks, and helpers that open scripted tables against it.
 */
class SessionFixture : public ::testing::Test {
protected:
    SessionFixture()
    {
        server.setDispatchInterval(0);
        server.setLogger([this](const QString& text) { log.append(text); });
        server.listen(QStringLiteral("0"));
        port = server.port();
        // Whatever escapes a socket handler would end up in an error dialog on the host player's screen.
        TSock::setUncaughtErrorHandler([this](const QString& text) { uncaught.append(text); });
    }
    ~SessionFixture() override { TSock::setUncaughtErrorHandler(nullptr); }

    void TearDown() override { EXPECT_EQ(uncaught, QStringList()); }

    /// A new table, connected and given its slot (or refused).
    TestTable& open()
    {
        tables.push_back(std::make_unique<TestTable>(port));
        TestTable& table = *tables.back();
        table.waitSlot();
        return table;
    }
    /// A new table, logged in as @p name; returns once every table has heard of it and it has heard
    /// of every other table.
    TestTable& join(const std::string& name, const std::string& version = "1.0.5")
    {
        tables.push_back(std::make_unique<TestTable>(port));
        TestTable& table = *tables.back();
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

    TServer server;
    QStringList log;
    QStringList uncaught;
    quint16 port = 0;
    std::vector<std::unique_ptr<TestTable>> tables;
};

} // namespace morlu::test
