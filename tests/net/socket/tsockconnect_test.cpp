#include "hostcache.h"
#include "printers.h"
#include "socklookup.h"
#include "tsock.h"
#include "tsockfixture.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace morlu;
using namespace morlu::test;

namespace {

/// Whether this machine can bind its IPv6 loopback (containers often have no IPv6 at all).
bool hasIPv6Loopback()
{
    const auto loopback = socklookup::socketAddress("::1", 0);
    const int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool ok = fd >= 0 && loopback && ::bind(fd, loopback->data(), loopback->length) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

TEST_F(TSockTest, ConnectingReportsEachStepOnBothEnds)
{
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    EXPECT_TRUE(client->Open()) << "a socket with a handle only returns its flag";

    const QString portText = QString::number(port);
    EXPECT_EQ(journal.of("client"),
              QStringList({"Lookup: Lookup Of Port " + portText, "Lookup: Lookup Of Host 127.0.0.1",
                           "Connect: Non-Blocking Socket Connected", "OnConnect", "Send: Non-Blocking Outgoing Data"}));
    EXPECT_EQ(journal.of("listener"), QStringList({"Lookup: Lookup Of Port 0", "Listen: Listening Started",
                                                   "Accept: Created New TSock Structure"}));
    EXPECT_EQ(journal.of("server"), QStringList({"Lookup: Setting PortName While Connected Has No Effect",
                                                 "Lookup: Setting HostName While Connected Has No Effect"}));
    EXPECT_EQ(peer->parent(), listener.get());
    EXPECT_EQ(peer->HostName(), "127.0.0.1");
    EXPECT_EQ(peer->PortName(), "0");
    EXPECT_TRUE(peer->isConnected());
    EXPECT_TRUE(peer->watchingRead());
    EXPECT_FALSE(peer->watchingWrite()) << "nothing waits to be sent";
    EXPECT_FALSE(client->watchingWrite());
}

TEST_F(TSockTest, AcceptedSocketTakesTheListenersHandlersAndSettings)
{
    int reads = 0, writes = 0;
    listener->OnRead = [&](TSock*, qsizetype) { ++reads; };
    listener->OnWrite = [&](TSock*) { ++writes; };
    listener->setBlockingTimeout(1234);
    listener->setTag(7);
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    EXPECT_EQ(peer->BlockingTimeout(), 1234);
    EXPECT_FALSE(peer->Blocking());
    EXPECT_EQ(peer->Tag(), 0);
    EXPECT_FALSE(peer->OnAccept);

    client->Send("ping");
    ASSERT_TRUE(waitUntil([&] { return reads > 0; }, kWait));
    EXPECT_EQ(peer->Receive(), "ping");

    EXPECT_TRUE(peer->setKeepAlive(true, 30));
    int value = 0;
    socklen_t length = sizeof value;
    ASSERT_EQ(::getsockopt(peer->handle(), SOL_SOCKET, SO_KEEPALIVE, &value, &length), 0);
    EXPECT_EQ(value, 1);
    ASSERT_EQ(::getsockopt(peer->handle(), IPPROTO_TCP, TCP_KEEPIDLE, &value, &length), 0);
    EXPECT_EQ(value, 30);
    // Short game lines go out at once on both ends.
    for (const TSock* end : {static_cast<const TSock*>(peer), static_cast<const TSock*>(client.get())}) {
        ASSERT_EQ(::getsockopt(end->handle(), IPPROTO_TCP, TCP_NODELAY, &value, &length), 0);
        EXPECT_EQ(value, 1);
    }

    QPointer<TSock> owned(peer);
    listener.reset();
    EXPECT_TRUE(owned.isNull()) << "accepted sockets go with their listener";
}

TEST_F(TSockTest, TablesReachTheHostOverIPv6AndIPv4InTheNamesOrder)
{
    if (!hasIPv6Loopback())
        GTEST_SKIP() << "this machine has no IPv6 loopback";
    // The fixture's listener is on every address; the others take one family only, so that a name's
    // first address is refused and the next one is tried.
    const struct {
        const char* what;
        QString listenOn;
        QStringList resolved;
        QString peer;
    } rows[] = {
        {"IPv6 to every address", "", {"::1"}, "::1"},
        {"IPv4 to every address reads unmapped", "", {"127.0.0.1"}, "127.0.0.1"},
        {"IPv6 refused, then IPv4", "127.0.0.1", {"::1", "127.0.0.1"}, "127.0.0.1"},
        {"IPv4 refused, then IPv6", "::1", {"127.0.0.1", "::1"}, "::1"},
        {"name known only over IPv6", "::1", {"::1"}, "::1"},
    };
    for (const auto& row : rows) {
        HostCache::instance().clear();
        HostCache::instance().setResolver([&](const QString&) { return row.resolved; });
        TSock single;
        single.OnAccept = listener->OnAccept;
        if (!row.listenOn.isEmpty()) {
            single.setListenAddress(row.listenOn);
            single.setPortName("0");
            single.setListen(true);
        }
        journal.entries.remove("client");
        auto client = makeClient("morlu-table-host");
        if (!row.listenOn.isEmpty())
            client->setPortName(QString::number(single.localPort()));
        TSock* peer = connectClient(client.get());
        ASSERT_TRUE(peer) << row.what;
        EXPECT_EQ(peer->HostName(), row.peer) << row.what;
        EXPECT_EQ(journal.events("client").filter("Error").size(), 0) << row.what;
        client->Close();
        server.clear();
    }
    HostCache::instance().setResolver({});
    HostCache::instance().clear();

    // Every address refused: one Error report, that of the last address.
    TSock probe;
    probe.setPortName("0");
    probe.setListen(true);
    const quint16 freePort = probe.localPort();
    probe.setListen(false);
    journal.entries.remove("client");
    auto client = makeClient("::1");
    client->setPortName(QString::number(freePort));
    EXPECT_FALSE(client->Open());
    ASSERT_TRUE(waitUntil([&] { return !client->isConnecting(); }, kWait));
    EXPECT_EQ(journal.events("client").filter("Error"), QStringList({"Error: Error #10061 (WSAECONNREFUSED)"}));
}

TEST_F(TSockTest, HostNameIsResolvedOnceForTheWholeRun)
{
    int resolutions = 0;
    HostCache::instance().clear();
    HostCache::instance().setResolver([&](const QString&) {
        // The second answer would be another loopback address, which the peer would see.
        return QStringList{++resolutions == 1 ? "127.0.0.1" : "127.0.0.2"};
    });
    for (int i = 0; i < 2; ++i) {
        auto client = makeClient("morlu-cached-host");
        TSock* peer = connectClient(client.get());
        ASSERT_TRUE(peer);
        EXPECT_EQ(peer->HostName(), "127.0.0.1");
        EXPECT_TRUE(journal.of("client").contains("Lookup: Lookup Of Host morlu-cached-host"));
    }
    EXPECT_EQ(resolutions, 1);
    EXPECT_TRUE(HostCache::instance().contains("morlu-cached-host"));

    const qsizetype size = HostCache::instance().size();
    HostCache::instance().setResolver([](const QString&) { return QStringList(); });
    EXPECT_TRUE(HostCache::instance().lookup("morlu-unknown-host").isEmpty());
    EXPECT_EQ(HostCache::instance().size(), size) << "failures are not cached";
    HostCache::instance().setResolver({});
    EXPECT_TRUE(HostCache::instance().lookup("localhost").contains("127.0.0.1"));
}

TEST_F(TSockTest, StoppingAndRestartingTheListener)
{
    listener->setListen(true);
    listener->setListen(false);
    EXPECT_EQ(journal.of("listener").mid(2),
              QStringList({"Listen: Listening Already Running", "Close: Socket Closed", "Listen: Listening Stopped"}));
    EXPECT_FALSE(listener->Listen());
    EXPECT_FALSE(listener->hasHandle());
    listener->setListen(false);
    EXPECT_EQ(journal.of("listener").size(), 5) << "stopping a socket that does not listen does nothing";
    listener->setListen(true);
    EXPECT_TRUE(listener->Listen());
}

TEST_F(TSockTest, BindFailureThenTheSameObjectIsInUse)
{
    TSock second;
    second.setPortName(QString::number(port));
    EXPECT_EQ(raised([&] { second.setListen(true); }), "Listen - Error Binding Socket");
    EXPECT_FALSE(second.Listen());
    EXPECT_TRUE(second.hasHandle());
    EXPECT_FALSE(second.watchingRead());
    EXPECT_EQ(raised([&] { second.setListen(true); }), "Listen - Socket Already In Use");
}

TEST_F(TSockTest, ListenerWaitsForAcceptBeforeNotifyingAgain)
{
    listener->OnAccept = nullptr;
    TSock* none = nullptr;
    EXPECT_FALSE(listener->Accept(none)) << "nothing is pending";
    EXPECT_FALSE(none);
    EXPECT_EQ(journal.of("listener").back(), "Accept: Could Not Accept Connection");

    auto client = makeClient();
    EXPECT_FALSE(client->Open());
    ASSERT_TRUE(waitUntil([&] { return !listener->watchingRead(); }, kWait));
    TSock* accepted = nullptr;
    EXPECT_TRUE(listener->Accept(accepted));
    ASSERT_TRUE(accepted);
    EXPECT_TRUE(listener->watchingRead());
    EXPECT_EQ(accepted->parent(), listener.get());
}

} // namespace
