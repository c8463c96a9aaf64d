#include "hostcache.h"
#include "printers.h"
#include "tsock.h"
#include "tsockfixture.h"

#include <QPointer>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <sys/socket.h>

using namespace morlu;
using namespace morlu::test;

namespace {

TEST_F(TSockTest, OrderlyCloseFromEitherSideDisconnectsThenCloses)
{
    for (const bool clientCloses : {true, false}) {
        SCOPED_TRACE(clientCloses ? "client closes" : "server closes");
        journal.entries.clear();
        auto client = makeClient();
        TSock* peer = connectClient(client.get());
        ASSERT_TRUE(peer);
        journal.names.insert(peer, "server");
        TSock* closer = clientCloses ? client.get() : peer;
        TSock* other = clientCloses ? peer : client.get();
        const QString closerName = clientCloses ? "client" : "server";
        const QString otherName = clientCloses ? "server" : "client";
        const qsizetype before = journal.events(otherName).size();

        closer->Send("bye");
        EXPECT_TRUE(closer->Close());
        EXPECT_EQ(journal.events(closerName).back(), "Close: Socket Closed");
        ASSERT_TRUE(waitUntil([&] { return !other->hasHandle(); }, kWait));
        EXPECT_EQ(journal.events(otherName).mid(before), QStringList({"OnDisconnect", "Close: Socket Closed"}));
        EXPECT_FALSE(other->isConnected());
        EXPECT_FALSE(other->watchingRead());
        // Bytes that arrived before the close are still there after the handle has gone.
        EXPECT_EQ(other->Receive(), "bye");
        EXPECT_EQ(raised([&] { other->Receive(); }), "Receive - Socket Not Connected");
    }
}

TEST_F(TSockTest, DisconnectHandlerThatClosesGivesTwoCloseReports)
{
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    peer->OnDisconnect = [&](TSock* sock) {
        journal.add(sock, "OnDisconnect");
        sock->Close();
    };
    client->Close();
    ASSERT_TRUE(waitUntil([&] { return !peer->hasHandle(); }, kWait));
    EXPECT_EQ(journal.events("server").mid(2),
              QStringList({"OnDisconnect", "Close: Socket Closed", "Close: Socket Closed"}));
}

TEST_F(TSockTest, CloseReportsOnEveryCall)
{
    TSock idle;
    journal.watch(&idle, "idle");
    EXPECT_FALSE(idle.Close());
    EXPECT_FALSE(idle.Close());
    EXPECT_EQ(journal.of("idle"), QStringList({"Close: Socket Closed", "Close: Socket Closed"}));

    auto client = makeClient();
    ASSERT_TRUE(connectClient(client.get()));
    EXPECT_TRUE(client->Close());
    EXPECT_FALSE(client->Close());
    EXPECT_EQ(journal.events("client").mid(4), QStringList({"Close: Socket Closed", "Close: Socket Closed"}));
    EXPECT_FALSE(client->watchingRead());
}

TEST_F(TSockTest, ResetByThePeerIsOneErrorReportAndLaterSendsReportToo)
{
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    const linger abortive{1, 0};
    ASSERT_EQ(::setsockopt(client->handle(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive), 0);
    client->Close();

    const QStringList accepted = journal.events("server");
    ASSERT_TRUE(waitUntil([&] { return journal.events("server").size() > accepted.size(); }, kWait));
    EXPECT_EQ(journal.events("server").mid(accepted.size()), QStringList({"Error: Error #10054 (WSAECONNRESET)"}));
    EXPECT_TRUE(peer->hasHandle()) << "a reset does not close the socket";
    EXPECT_FALSE(peer->watchingRead());
    EXPECT_FALSE(peer->watchingWrite());

    peer->Send("lost");
    EXPECT_EQ(journal.events("server").back(), "Error: Error #10054 (WSAECONNRESET)");
    EXPECT_EQ(peer->outgoingSize(), 0);
    EXPECT_TRUE(peer->Close());
    EXPECT_EQ(journal.events("server").back(), "Close: Socket Closed");
}

TEST_F(TSockTest, RefusedConnectionIsOneErrorReportAndKeepsTheHandle)
{
    // A port that was free a moment ago: nothing listens on it any more.
    TSock probe;
    probe.setPortName("0");
    probe.setListen(true);
    const quint16 freePort = probe.localPort();
    probe.setListen(false);

    auto client = makeClient();
    client->setPortName(QString::number(freePort));
    EXPECT_FALSE(client->Open());
    client->Send("waits");
    ASSERT_TRUE(waitUntil([&] { return !client->isConnecting(); }, kWait));
    EXPECT_EQ(journal.events("client").mid(2), QStringList({"Error: Error #10061 (WSAECONNREFUSED)"}));
    EXPECT_TRUE(client->hasHandle());
    EXPECT_FALSE(client->isConnected());
    EXPECT_FALSE(client->watchingRead());
    EXPECT_FALSE(client->watchingWrite());
    EXPECT_EQ(client->outgoingSize(), 0);
    EXPECT_FALSE(client->Open());
    client->Send("x");
    EXPECT_EQ(journal.events("client").back(), "Error: Error #10057 (WSAENOTCONN)");
}

TEST_F(TSockTest, MisuseRaisesFixedTexts)
{
    HostCache::instance().setResolver([](const QString&) { return QStringList(); });
    TSock idle;
    TSock badService;
    badService.setPortName("no-such-service-here");
    TSock badPort;
    badPort.setPortName("70000");
    TSock badHost;
    badHost.setHostName("no-such-host.invalid");
    badHost.setPortName("1");
    TSock throwing;
    throwing.OnInfo = [](TSock*, TSocketInfo, const QString&) { throw std::runtime_error("handler"); };
    TSock* accepted = nullptr;

    const struct {
        const char* what;
        std::function<void()> action;
        QString text;
    } rows[] = {
        {"send without handle", [&] { idle.Send("x"); }, "Send - Socket Not Connected"},
        {"send on listener", [&] { listener->Send("x"); }, "Send - Cannot Send On A Listener Socket"},
        {"receive without handle", [&] { idle.Receive(); }, "Receive - Socket Not Connected"},
        {"receive on listener", [&] { listener->Receive(); }, "Receive - Cannot Receive On A Listener Socket"},
        {"accept without listening", [&] { idle.Accept(accepted); }, "Accept - Socket Not In Listening Mode"},
        {"unknown service", [&] { badService.Open(); }, "Port Lookup - Could Not Find Service Entry"},
        {"port out of range", [&] { badPort.Open(); }, "Port Lookup - Could Not Find Service Entry"},
        {"unknown host", [&] { badHost.Open(); }, "Host Lookup - Could Not Find Host Entry"},
        {"report handler raises", [&] { throwing.Close(); }, ""},
        {"report handler raises", [&] { throwing.setListen(true); }, "Error here"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(raised(row.action), row.text) << row.what;
    HostCache::instance().setResolver({});
}

TEST_F(TSockTest, HandlersMayDestroyTheirSocket)
{
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    QPointer<TSock> watched(peer);
    peer->OnInfo = [](TSock* sock, TSocketInfo, const QString& msg) {
        if (msg == "Socket Closed")
            sock->deleteLater();
    };
    client->Close();
    ASSERT_TRUE(waitUntil([&] { return watched.isNull(); }, kWait));

    auto second = makeClient();
    QPointer<TSock> reader(connectClient(second.get()));
    ASSERT_TRUE(reader);
    reader->OnRead = [](TSock* sock, qsizetype) { delete sock; };
    second->Send("x");
    ASSERT_TRUE(waitUntil([&] { return reader.isNull(); }, kWait));
}

TEST_F(TSockTest, ExceptionsFromHandlersReachTheUncaughtErrorHandler)
{
    QStringList uncaught;
    TSock::setUncaughtErrorHandler([&](const QString& text) { uncaught.append(text); });
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    peer->OnRead = [](TSock*, qsizetype) { throw std::runtime_error("'x' is not a valid integer value"); };
    client->Send("a");
    ASSERT_TRUE(waitUntil([&] { return !uncaught.isEmpty(); }, kWait));
    peer->OnInfo = [](TSock*, TSocketInfo, const QString&) { throw 1; };
    client->Send("b");
    ASSERT_TRUE(waitUntil([&] { return uncaught.size() == 2; }, kWait));
    TSock::setUncaughtErrorHandler({});
    EXPECT_EQ(uncaught, QStringList({"'x' is not a valid integer value", "Error here"}));
}

} // namespace
