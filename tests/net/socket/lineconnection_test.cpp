#include "lineconnection.h"

#include "esockexception.h"
#include "memorylistener.h"
#include "printers.h"
#include "tsock.h"
#include "tsockconnection.h"
#include "tsocklistener.h"
#include "waituntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/socket.h>
#include <vector>

using namespace morlu;

namespace {

enum class Transport { Memory, Tcp };

std::string transportName(const ::testing::TestParamInfo<Transport>& info)
{
    return info.param == Transport::Memory ? "Memory" : "Tcp";
}

void PrintTo(Transport transport, std::ostream* os)
{
    *os << (transport == Transport::Memory ? "Memory" : "Tcp");
}

/// Everything one end reports, in order: "line:<text>", "tooLong", "connected", "closed", "failed:<text>".
struct Journal {
    QStringList events;

    void watch(LineConnection& end)
    {
        QObject::connect(&end, &LineConnection::lineReceived,
                         [this](std::string_view line) { events.append("line:" + QString::fromLatin1(line)); });
        QObject::connect(&end, &LineConnection::lineTooLong, [this] { events.append("tooLong"); });
        QObject::connect(&end, &LineConnection::connected, [this] { events.append("connected"); });
        QObject::connect(&end, &LineConnection::closed, [this] { events.append("closed"); });
        QObject::connect(&end, &LineConnection::failed,
                         [this](const QString& error) { events.append("failed:" + error); });
    }
    /// Events without "connected", which only the opening end gives and only once.
    QStringList withoutConnected() const
    {
        QStringList result = events;
        result.removeAll("connected");
        return result;
    }
};

/// A listener and a connection made through it: `table` opened it, `host` accepted it.
class ConnectionTest : public ::testing::TestWithParam<Transport> {
protected:
    void SetUp() override { join(); }

    /// A new listener and a new connection through it, with empty journals.
    void join()
    {
        host.reset();
        table.reset();
        listener.reset();
        memoryListener = nullptr;
        tableJournal.events.clear();
        hostJournal.events.clear();
        pendings = 0;
        if (GetParam() == Transport::Memory) {
            auto memory = std::make_unique<MemoryListener>();
            memoryListener = memory.get();
            listener = std::move(memory);
        } else {
            listener = std::make_unique<TSockListener>();
        }
        QObject::connect(listener.get(), &ConnectionListener::pending, [this] { ++pendings; });
        listener->listen("0");
        table = connectTable();
        tableJournal.watch(*table);
        ASSERT_TRUE(test::waitUntil([&] { return pendings == 1; }));
        host = listener->accept();
        ASSERT_NE(host, nullptr);
        hostJournal.watch(*host);
        ASSERT_TRUE(test::waitUntil([&] { return tableJournal.events.contains("connected"); }));
    }

    std::unique_ptr<LineConnection> connectTable()
    {
        std::unique_ptr<LineConnection> end;
        if (memoryListener)
            end = memoryListener->connect("table");
        else
            end = std::make_unique<TSockConnection>();
        end->open("127.0.0.1", QString::number(listener->port()));
        return end;
    }

    /// Ends @p end abruptly, as a crashed program does.
    static void reset(LineConnection& end)
    {
        if (auto* memory = qobject_cast<MemoryConnection*>(&end)) {
            memory->reset();
            return;
        }
        auto& tcp = static_cast<TSockConnection&>(end);
        const linger hard{1, 0};
        ASSERT_EQ(::setsockopt(tcp.sock().handle(), SOL_SOCKET, SO_LINGER, &hard, sizeof hard), 0);
        end.close();
    }

    static void send(LineConnection& end, const std::string& bytes) { end.sendLine(bytes); }

    MemoryListener* memoryListener = nullptr;
    std::unique_ptr<ConnectionListener> listener;
    std::unique_ptr<LineConnection> table;
    std::unique_ptr<LineConnection> host;
    Journal tableJournal;
    Journal hostJournal;
    int pendings = 0;
};

INSTANTIATE_TEST_SUITE_P(Transports, ConnectionTest, ::testing::Values(Transport::Memory, Transport::Tcp),
                         transportName);

TEST_P(ConnectionTest, LinesArriveWholeAndInOrderHoweverTheyAreCut)
{
    struct Case {
        const char* what;
        std::vector<std::string> sends;
        QStringList lines;
    };
    const std::vector<Case> cases{
        {"one line", {"CMD_a+1\xFF"}, {"line:CMD_a+1"}},
        {"two lines in one send",
         {"CMD_a+1\xFF"
          "CMD_b+2\xFF"},
         {"line:CMD_a+1", "line:CMD_b+2"}},
        {"a line cut in three", {"CMD_", "a+", "3\xFF"}, {"line:CMD_a+3"}},
        {"an empty line", {"\xFF"}, {"line:"}},
        {"an unfinished line waits",
         {"CMD_a+4\xFF"
          "CMD_b"},
         {"line:CMD_a+4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool fromTable : {true, false}) {
            LineConnection& sender = fromTable ? *table : *host;
            Journal& receiver = fromTable ? hostJournal : tableJournal;
            receiver.events.clear();
            for (const std::string& bytes : c.sends)
                send(sender, bytes);
            // Like TCP, nothing arrives from inside the send.
            EXPECT_TRUE(receiver.withoutConnected().isEmpty());
            // A chat line afterwards marks the end of what was sent.
            send(sender, "\xFF"
                         "CMD_end+\xFF");
            ASSERT_TRUE(test::waitUntil([&] { return receiver.events.contains("line:CMD_end+"); }));
            QStringList expected = c.lines;
            expected.append(c.sends.back().back() == '\xFF' ? "line:" : "line:CMD_b");
            expected.append("line:CMD_end+");
            EXPECT_EQ(receiver.withoutConnected(), expected) << (fromTable ? "table to host" : "host to table");
        }
    }
}

TEST_P(ConnectionTest, EndingsAreReportedAtBothEnds)
{
    enum class How { Close, Reset, Destroy };
    struct Case {
        const char* what;
        bool byTable;
        How how;
        QStringList other; ///< what the other end reports, after the line sent before the ending
    };
    const QString resetText = "failed:Error #10054 (WSAECONNRESET)";
    const std::vector<Case> cases{
        {"the table closes", true, How::Close, {"line:bye", "closed"}},
        {"the host closes", false, How::Close, {"line:bye", "closed"}},
        {"the host drops its end", false, How::Destroy, {"line:bye", "closed"}},
        {"the table resets", true, How::Reset, {resetText}},
        {"the host resets", false, How::Reset, {resetText}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        join();
        std::unique_ptr<LineConnection>& ender = c.byTable ? table : host;
        std::unique_ptr<LineConnection>& other = c.byTable ? host : table;
        Journal& enderJournal = c.byTable ? tableJournal : hostJournal;
        Journal& otherJournal = c.byTable ? hostJournal : tableJournal;
        if (c.how == How::Reset) {
            reset(*ender); // a reset may throw away what was still on its way: nothing is
        } else {
            send(*ender, "bye\xFF");
            if (c.how == How::Close)
                ender->close();
            else
                ender.reset();
        }
        if (ender) {
            // Reported from inside close(), once, and the end is unusable from then on.
            EXPECT_EQ(enderJournal.withoutConnected(), QStringList{"closed"});
            ender->close();
            EXPECT_EQ(enderJournal.withoutConnected(), QStringList{"closed"});
            EXPECT_FALSE(ender->isOpen());
            try {
                send(*ender, "late\xFF");
                ADD_FAILURE() << "a closed end took a line";
            } catch (const ESockException& error) {
                EXPECT_STREQ(error.what(), "Send - Socket Not Connected");
            }
        }
        ASSERT_TRUE(test::waitUntil([&] { return otherJournal.withoutConnected().size() >= c.other.size(); }));
        EXPECT_EQ(otherJournal.withoutConnected(), c.other);
        // A failure leaves the connection to its owner, whose close ends it as usual.
        if (c.how == How::Reset) {
            EXPECT_TRUE(other->isOpen());
            other->close();
            EXPECT_EQ(otherJournal.withoutConnected(), c.other + QStringList{"closed"});
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(otherJournal.withoutConnected().size(), c.other.size() + (c.how == How::Reset ? 1 : 0));
    }
}

TEST_P(ConnectionTest, AnOverlongLineIsReportedOnceAndEndsTheLines)
{
    const std::string limit(LineFramer::kMaxLine, 'x');
    struct Case {
        const char* what;
        std::vector<std::string> sends;
        QStringList events;
    };
    const QString longest = "line:" + QString::fromStdString(limit);
    const std::vector<Case> cases{
        {"a line of exactly the limit", {limit + "\xFF"}, {longest, "line:c", "line:zzd", "closed"}},
        {"one byte more, in one send",
         {"a\xFF" + limit +
          "y\xFF"
          "b\xFF"},
         {"line:a", "tooLong", "closed"}},
        {"one byte more, in pieces",
         {"a\xFF", limit.substr(0, 1000), limit.substr(1000) + "yz"},
         {"line:a", "tooLong", "closed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        join();
        for (const std::string& bytes : c.sends)
            send(*table, bytes);
        // Whatever follows an overlong line is not cut into lines any more; the close comes after it all.
        send(*table, "c\xFF");
        send(*table, "zz");
        send(*table, "d\xFF");
        // Closing drops what has not gone out yet: wait until the system has taken it all.
        ASSERT_TRUE(test::waitUntil([&] { return table->bytesToWrite() == 0; }));
        table->close();
        ASSERT_TRUE(test::waitUntil([&] { return hostJournal.events.contains("closed"); }));
        EXPECT_EQ(hostJournal.events, c.events);
    }
}

TEST_P(ConnectionTest, AHandlerThatClosesHearsNoMoreLines)
{
    QObject::connect(host.get(), &LineConnection::lineReceived, [this](std::string_view) { host->close(); });
    send(*table, "one\xFF"
                 "two\xFF"
                 "three\xFF");
    ASSERT_TRUE(test::waitUntil([&] { return hostJournal.events.contains("closed"); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(hostJournal.events, (QStringList{"line:one", "closed"}));
    ASSERT_TRUE(test::waitUntil([&] { return tableJournal.events.contains("closed"); }));
}

TEST_P(ConnectionTest, TheListenerAnnouncesOnceUntilAccepted)
{
    auto second = connectTable();
    auto third = connectTable();
    ASSERT_TRUE(test::waitUntil([&] { return pendings == 2; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(pendings, 2) << "not again before accept()";
    auto secondHost = listener->accept();
    ASSERT_NE(secondHost, nullptr);
    ASSERT_TRUE(test::waitUntil([&] { return pendings == 3; }));
    auto thirdHost = listener->accept();
    ASSERT_NE(thirdHost, nullptr);
    EXPECT_EQ(listener->accept(), nullptr) << "nothing waits";

    // Each accepted end is joined to its own table.
    Journal journal;
    journal.watch(*thirdHost);
    send(*third, "third\xFF");
    ASSERT_TRUE(test::waitUntil([&] { return !journal.events.isEmpty(); }));
    EXPECT_EQ(journal.events, QStringList{"line:third"});
    EXPECT_EQ(host->peerName(), memoryListener ? "table" : "127.0.0.1");
    EXPECT_EQ(table->peerName(), "127.0.0.1");
}

TEST(TSockConnectionTest, AcceptedConnectionsKeepTheSocketsBehaviour)
{
    TSockListener listener;
    QStringList listenerReports;
    listener.sock().OnInfo = [&](TSock*, TSocketInfo, const QString& msg) { listenerReports.append(msg); };
    int pendings = 0;
    QObject::connect(&listener, &ConnectionListener::pending, [&] { ++pendings; });
    listener.listen("0");

    // Nothing waits: the socket reports it and nothing is made.
    EXPECT_EQ(listener.accept(), nullptr);
    EXPECT_EQ(listenerReports.last(), "Could Not Accept Connection");

    TSockConnection table;
    table.open("127.0.0.1", QString::number(listener.port()));
    EXPECT_TRUE(table.isConnecting());
    table.sendLine("early\xFF");
    ASSERT_TRUE(test::waitUntil([&] { return pendings == 1; }));
    std::unique_ptr<LineConnection> host = listener.accept();
    ASSERT_NE(host, nullptr);
    auto& tcp = static_cast<TSockConnection&>(*host);
    EXPECT_TRUE(tcp.sock().keepAlive());
    EXPECT_TRUE(host->isConnected());
    Journal journal;
    journal.watch(*host);
    ASSERT_TRUE(test::waitUntil([&] { return !journal.events.isEmpty(); }));
    EXPECT_EQ(journal.events, QStringList{"line:early"}) << "what was sent while connecting goes first";

    // A refused connection is one failure, and the connection stays open for its owner.
    TSockListener gone;
    gone.listen("0");
    const QString freePort = QString::number(gone.port());
    gone.sock().setListen(false);
    TSockConnection refused;
    Journal refusals;
    refusals.watch(refused);
    refused.open("127.0.0.1", freePort);
    ASSERT_TRUE(test::waitUntil([&] { return !refusals.events.isEmpty(); }));
    EXPECT_EQ(refusals.events, QStringList{"failed:Error #10061 (WSAECONNREFUSED)"});
    EXPECT_TRUE(refused.isOpen());
    EXPECT_FALSE(refused.isConnected());
}

// A connection that is never made says why (refused at once, or no answer before its timeout) without a
// closed() report, and open() tries again afresh.
TEST(TSockConnectionTest, AConnectionNeverMadeSaysWhyAndCanBeTriedAgain)
{
    TSockListener gone;
    gone.listen("0");
    const QString freePort = QString::number(gone.port());
    gone.sock().setListen(false);

    // A listener whose queue is full leaves new connections unanswered: their handshakes are dropped.
    TSock full;
    full.setPortName("0");
    full.setListen(true);
    ::listen(full.handle(), 0);
    std::vector<std::unique_ptr<TSockConnection>> waiting;
    for (int n = 0; n < 4; ++n) {
        waiting.push_back(std::make_unique<TSockConnection>());
        waiting.back()->open("127.0.0.1", QString::number(full.localPort()));
    }
    // The first fills the queue; the others' handshakes are dropped and stay unanswered.
    ASSERT_TRUE(test::waitUntil([&] { return waiting.front()->isConnected(); }));

    // A refusal comes at once, well within the usual time-out; the unanswered one is given up when its
    // time-out, none here, runs out on the next turn of the loop.
    struct Row {
        const char* name;
        QString port;
        int timeoutMs;
        QString reason;
    };
    const Row rows[] = {
        {"refused", freePort, LineConnection::kConnectTimeoutMs, "connection refused"},
        {"never answered", QString::number(full.localPort()), 0, "no answer within 0 seconds"},
    };
    for (const Row& row : rows) {
        TSockConnection table;
        table.setConnectTimeout(row.timeoutMs);
        QStringList reasons;
        int closes = 0;
        QObject::connect(&table, &LineConnection::connectFailed, [&](const QString& why) { reasons << why; });
        QObject::connect(&table, &LineConnection::closed, [&] { ++closes; });
        table.open("127.0.0.1", row.port);
        ASSERT_TRUE(test::waitUntil([&] { return !reasons.isEmpty(); }, 5000)) << row.name;
        EXPECT_EQ(reasons, QStringList{row.reason}) << row.name;
        EXPECT_EQ(closes, 0) << row.name;
        EXPECT_FALSE(table.isConnected()) << row.name;

        // Trying again reaches a host that listens now.
        table.setConnectTimeout(LineConnection::kConnectTimeoutMs);
        TSockListener host;
        host.listen("0");
        int pendings = 0;
        QObject::connect(&host, &ConnectionListener::pending, [&] { ++pendings; });
        table.open("127.0.0.1", QString::number(host.port()));
        EXPECT_TRUE(test::waitUntil([&] { return table.isConnected() && pendings == 1; })) << row.name;
        EXPECT_EQ(closes, 0) << row.name;
    }
}

TEST(MemoryConnectionTest, BytesWaitUntilTheLoopDeliversThem)
{
    MemoryListener listener;
    std::unique_ptr<MemoryConnection> refused = listener.connect();
    Journal refusals;
    refusals.watch(*refused);
    ASSERT_TRUE(test::waitUntil([&] { return !refusals.events.isEmpty(); }));
    EXPECT_EQ(refusals.events, QStringList{"failed:Error #10061 (WSAECONNREFUSED)"}) << "nobody listens";

    MemoryConnection::Ends ends = MemoryConnection::pair();
    ends.first->sendLine("abc\xFF");
    ends.first->sendLine("de");
    EXPECT_EQ(ends.first->bytesToWrite(), 6);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ends.first->bytesToWrite(), 0);
    EXPECT_EQ(ends.second->pendingBytes(), 2u);
}

} // namespace
