#include "tsock.h"

#include "hostcache.h"
#include "printers.h"
#include "sockerrors.h"
#include "socklookup.h"
#include "waituntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace morlu;

namespace {

constexpr int kWait = 10000;

const char* const kKinds[] = {"Lookup", "Connect", "Close", "Listen", "Receive", "Send", "Accept", "Error"};

/// Records what every watched socket reports, per socket name ("server" for sockets made by Accept()).
struct Journal {
    QHash<const TSock*, QString> names;
    QHash<QString, QStringList> entries;

    void add(const TSock* sock, const QString& entry) { entries[names.value(sock, "server")].append(entry); }

    void watch(TSock* sock, const QString& name)
    {
        names.insert(sock, name);
        sock->OnInfo = [this](TSock* s, TSocketInfo info, const QString& msg) {
            add(s, QString::fromLatin1(kKinds[int(info)]) + ": " + msg);
        };
        sock->OnConnect = [this](TSock* s) { add(s, "OnConnect"); };
        sock->OnDisconnect = [this](TSock* s) { add(s, "OnDisconnect"); };
    }
    QStringList of(const QString& name) const { return entries.value(name); }
    /// Entries of a socket without the data-flow reports, which depend on how the system splits data.
    QStringList events(const QString& name) const
    {
        QStringList result;
        for (const QString& entry : entries.value(name)) {
            if (!entry.startsWith("Send:") && !entry.startsWith("Receive:"))
                result.append(entry);
        }
        return result;
    }
};

bool waitUntil(const std::function<bool()>& condition, int milliseconds = kWait)
{
    return morlu::test::waitUntil(condition, milliseconds);
}

QString raised(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ESockException& error) {
        return QString::fromLatin1(error.what());
    }
    return QString();
}

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

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

/// A listener on an ephemeral port that accepts every connection into `accepted`.
class TSockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        listener = std::make_unique<TSock>();
        journal.watch(listener.get(), "listener");
        listener->OnAccept = [this](TSock* sock) {
            TSock* accepted = nullptr;
            if (sock->Accept(accepted))
                server.append(accepted);
        };
        listener->setPortName("0");
        listener->setListen(true);
        port = listener->localPort();
        ASSERT_NE(port, 0);
    }

    std::unique_ptr<TSock> makeClient(const QString& host = "127.0.0.1")
    {
        auto client = std::make_unique<TSock>();
        journal.watch(client.get(), "client");
        client->setHostName(host);
        client->setPortName(QString::number(port));
        return client;
    }

    /// Opens the client and waits until both ends are connected; returns the listener's end.
    TSock* connectClient(TSock* client)
    {
        const qsizetype before = server.size();
        EXPECT_FALSE(client->Open());
        EXPECT_TRUE(waitUntil([&] { return client->isConnected() && server.size() > before; }, kWait));
        return server.isEmpty() ? nullptr : server.back().data();
    }

    Journal journal;
    std::unique_ptr<TSock> listener;
    QList<QPointer<TSock>> server;
    quint16 port = 0;
};

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

TEST_F(TSockTest, BytesFlowBothWaysUnchangedAndReadCountsTheBuffer)
{
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    QList<qsizetype> counts;
    peer->OnRead = [&](TSock*, qsizetype count) { counts.append(count); };
    QByteArray fromClient;
    client->OnRead = [&](TSock* sock, qsizetype) { fromClient += sock->Receive(); };

    const QByteArray line("CMD_chat+1+hello|clBlack\xFF", 25);
    client->Send(line);
    ASSERT_TRUE(waitUntil([&] { return peer->incomingSize() == line.size(); }, kWait));
    EXPECT_EQ(counts.back(), line.size()) << "OnRead gets the size of the whole incoming buffer";
    EXPECT_EQ(peer->incoming(), line);
    EXPECT_EQ(peer->Receive(), line);
    EXPECT_EQ(peer->incomingSize(), 0);

    const QByteArray binary("\x00\xFF\x01+\xFE", 5);
    peer->Send(binary);
    peer->Send(QByteArray("second"));
    ASSERT_TRUE(waitUntil([&] { return fromClient.size() == 11; }, kWait));
    EXPECT_EQ(fromClient, binary + "second");
}

TEST_F(TSockTest, LargeSendToSlowReaderArrivesCompleteAndInOrder)
{
    auto client = makeClient();
    TSock* peer = connectClient(client.get());
    ASSERT_TRUE(peer);
    // The reader takes nothing out, so the socket reads 32768 bytes per notification and no faster.
    client->OnRead = [](TSock*, qsizetype) {};
    const int small = 32768;
    ::setsockopt(peer->handle(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);

    const QByteArray big = pattern(8 << 20);
    peer->Send(big);
    EXPECT_GT(peer->outgoingSize(), 0) << "the system cannot take 8 MiB at once";
    EXPECT_TRUE(peer->watchingWrite());
    peer->Send(QByteArray("tail"));
    ASSERT_TRUE(waitUntil([&] { return client->incomingSize() >= big.size() + 4; }, 60000));
    EXPECT_TRUE(client->Receive() == big + "tail");
    EXPECT_EQ(peer->outgoingSize(), 0);
    EXPECT_FALSE(peer->watchingWrite()) << "no write notifications once everything went out";
}

TEST_F(TSockTest, DataSentBeforeTheConnectionWaitsAndGoesFirst)
{
    auto client = makeClient();
    EXPECT_FALSE(client->Open());
    EXPECT_TRUE(client->isConnecting());
    client->Send("early+");
    client->Send("then");
    EXPECT_EQ(client->outgoing(), "early+then");
    ASSERT_TRUE(waitUntil([&] { return !server.isEmpty() && server[0] && server[0]->incomingSize() == 10; }, kWait));
    client->Send("+later");
    ASSERT_TRUE(waitUntil([&] { return server[0]->incomingSize() == 16; }, kWait));
    EXPECT_EQ(server[0]->Receive(), "early+then+later");
    EXPECT_EQ(client->outgoingSize(), 0);
}

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

TEST(SockLookup, PortsByNumberOrServiceName)
{
    const std::pair<QString, std::optional<quint16>> rows[] = {
        {"7772", 7772},
        {"0", 0},
        {"65535", 65535},
        {"65536", std::nullopt},
        {"12ab", std::nullopt},
        {"", std::nullopt},
        {"no-such-service-here", std::nullopt},
    };
    for (const auto& [name, port] : rows)
        EXPECT_EQ(socklookup::port(name), port) << name.toStdString();
    if (::getservbyname("http", "tcp")) {
        EXPECT_EQ(socklookup::port("http"), std::optional<quint16>(80));
    }
}

TEST(SockLookup, NumericAddressesElseNamesThroughTheCache)
{
    QStringList asked;
    HostCache::instance().setResolver([&](const QString& name) {
        asked.append(name);
        return QStringList{"::1", "127.0.0.3"};
    });
    const std::pair<QString, QStringList> rows[] = {
        {"10.1.2.3", {"10.1.2.3"}},
        {"127.1", {"127.0.0.1"}},
        {"::1", {"::1"}},
        {"0:0:0::1", {"::1"}},
        {"::ffff:10.0.0.5", {"10.0.0.5"}},
        {"[::1]", {}},
        {"1::2::3", {}},
        {"3dhost.example", {"::1", "127.0.0.3"}},
    };
    for (const auto& [name, addresses] : rows)
        EXPECT_EQ(socklookup::host(name), addresses) << name.toStdString();
    EXPECT_EQ(asked, QStringList({"3dhost.example"}));
    HostCache::instance().setResolver({});
    HostCache::instance().clear();
}

TEST(SockLookup, AddressTextsAndPortsOfBothFamilies)
{
    const struct {
        QString text;
        QString read;
        int family;
    } rows[] = {
        {"127.0.0.1", "127.0.0.1", AF_INET},
        {"::1", "::1", AF_INET6},
        {"2001:db8::7", "2001:db8::7", AF_INET6},
        // An IPv4 table reaching a listener on every address reads as itself.
        {"::ffff:192.168.1.20", "192.168.1.20", AF_INET6},
    };
    for (const auto& row : rows) {
        const auto address = socklookup::socketAddress(row.text, 7772);
        ASSERT_TRUE(address) << row.text.toStdString();
        EXPECT_EQ(address->family(), row.family) << row.text.toStdString();
        EXPECT_EQ(socklookup::addressText(address->data()), row.read);
        EXPECT_EQ(socklookup::addressPort(address->data()), 7772) << row.text.toStdString();
    }
    EXPECT_FALSE(socklookup::socketAddress("localhost", 1)) << "names are not addresses";
}

TEST(SockErrors, NamesAndTextsOfCodes)
{
    const std::pair<int, const char*> rows[] = {
        {10004, "Error #10004 (WSAEINTR)"},      {10035, "Error #10035 (WSAEWOULDBLOCK)"},
        {10054, "Error #10054 (WSAECONNRESET)"}, {10061, "Error #10061 (WSAECONNREFUSED)"},
        {10071, "Error #10071 (WSAEREMOTE)"},    {10093, "Error #10093 (WSANOTINITIALISED)"},
        {10101, "Error #10101 (WSAEDISCON)"},    {11001, "Error #11001 (WSAHOST_NOT_FOUND)"},
        {11004, "Error #11004 (WSANO_DATA)"},    {10034, "Error #10034 (UNKNOWN ERROR)"},
        {10072, "Error #10072 (UNKNOWN ERROR)"}, {11005, "Error #11005 (UNKNOWN ERROR)"},
        {0, "Error #0 (UNKNOWN ERROR)"},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(sockerrors::text(code), text);
    for (int code = 10035; code <= 10071; ++code)
        EXPECT_NE(sockerrors::name(code), "UNKNOWN ERROR") << code;
}

TEST(SockErrors, LocalErrorsMapToSocketErrorNumbers)
{
    const std::pair<int, int> rows[] = {
        {ECONNREFUSED, 10061}, {ECONNRESET, 10054}, {EPIPE, 10054},    {ETIMEDOUT, 10060}, {EHOSTUNREACH, 10065},
        {ENETUNREACH, 10051},  {EADDRINUSE, 10048}, {ENOTCONN, 10057}, {EAGAIN, 10035},    {ENOENT, ENOENT},
    };
    for (const auto& [err, code] : rows)
        EXPECT_EQ(sockerrors::fromErrno(err), code) << err;
}

} // namespace
