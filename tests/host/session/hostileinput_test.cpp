#include "printers.h"
#include "sessionfixture.h"
#include "tserver.h"

#include <QSocketNotifier>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

using namespace morlu;
using namespace morlu::test;

namespace {

/// Ann (slot 1) and Bob (slot 2) are seated; a third connection (slot 3) misbehaves.
class HostileInputTest : public SessionFixture {
protected:
    explicit HostileInputTest(Transport transport = Transport::Memory) : SessionFixture(transport) {}

    void SetUp() override
    {
        ann = &join("Ann");
        bob = &join("Bob");
    }

    /// The host still serves the good tables: a chat goes round.
    void expectServing()
    {
        EXPECT_TRUE(flush(*ann, *bob, "still here"));
        EXPECT_TRUE(flush(*bob, *ann, "me too"));
    }

    TestTable* ann = nullptr;
    TestTable* bob = nullptr;
};

/// Floods and resets over both transports.
class HostileTransportTest : public HostileInputTest, public ::testing::WithParamInterface<Transport> {
protected:
    HostileTransportTest() : HostileInputTest(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Transports, HostileTransportTest, ::testing::Values(Transport::Memory, Transport::Tcp),
                         transportName);

/// A table that never reads needs a real socket: only TCP pushes back.
class HostileTcpTest : public HostileInputTest {
protected:
    HostileTcpTest() : HostileInputTest(Transport::Tcp) {}
};

TEST_F(HostileInputTest, GarbageBytesAreDroppedLineByLine)
{
    TestTable& noisy = join("Noisy");
    std::mt19937 random(7);
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.append(char(random() % 255)); // bytes 0..254: at most a few lines' worth of 0xFF is added below
    for (int i = 0; i < 100; ++i)
        garbage[i * 150] = char(0xFF);
    noisy.sendRaw(garbage);
    noisy.send("");
    ASSERT_TRUE(flush(noisy, *ann));
    EXPECT_FALSE(noisy.closedByHost());
    EXPECT_EQ(server.slot(3).inuse, 1);
    expectServing();
}

TEST_P(HostileTransportTest, ConnectionsThatFloodOrNeverEndALineAreClosedAsDepartures)
{
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray manyLines;
    for (int i = 0; i < 5000; ++i)
        manyLines.append("CMD_chat+3+spam|clBlack\xFF");
    const std::vector<Case> cases{
        {"0xFF flood", QByteArray(200000, char(0xFF))},
        {"a line without end", QByteArray(70000, 'x')},
        {"a line just over the limit", QByteArray("CMD_chat+3+") + QByteArray(65536, 'y') + char(0xFF)},
        {"thousands of lines", manyLines},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t from = ann->count();
        TestTable& flood = join("Flood");
        ASSERT_EQ(flood.slot(), 3);
        flood.sendRaw(c.bytes);
        ASSERT_TRUE(ann->waitFor("CMD_playerdisconnected+3+Flood", from));
        EXPECT_TRUE(flood.waitClosed());
        EXPECT_EQ(server.slot(3).inuse, 0);
        expectServing();
        // Whatever the flood queued is dropped, not relayed.
        EXPECT_LE(ann->linesOf("CMD_chat", from).size(), 2u);
        EXPECT_EQ(server.waitingLines(), 0u);
    }
    EXPECT_TRUE(logged("Closing the connection of slot 3"));
}

TEST_F(HostileInputTest, ALongLineUnderTheLimitIsServed)
{
    const std::string text(60000, 'z');
    const std::size_t from = ann->count();
    bob->send("CMD_chat+2+" + text + "|clBlack");
    ASSERT_TRUE(ann->waitFor("CMD_chat+2+Bob chats: " + text + "|clBlack", from));
    EXPECT_FALSE(bob->closedByHost());
}

TEST_F(HostileInputTest, ManyLinesUnderTheLimitAreAllHandled)
{
    QByteArray lines;
    for (int i = 0; i < 1000; ++i)
        lines.append("CMD_chat+2+n" + QByteArray::number(i) + "|clBlack\xFF");
    bob->sendRaw(lines);
    ASSERT_TRUE(ann->waitFor("CMD_chat+2+Bob chats: n999|clBlack"));
    EXPECT_EQ(ann->linesOf("CMD_chat").size(), 1000u);
    EXPECT_FALSE(bob->closedByHost());
}

/// A raw blocking client with a tiny receive buffer that never reads.
int connectNonReader(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

TEST_F(HostileTcpTest, ATableThatNeverReadsIsClosedOnceTooMuchWaitsForIt)
{
    const int sink = connectNonReader(port);
    ASSERT_GE(sink, 0);
    ASSERT_TRUE(waitUntil([&] { return server.slot(3).inuse == 1; }));
    // Bob chats long lines; every one is relayed to the sink too, which takes nothing.
    const std::string text(50000, 'w');
    const std::size_t from = ann->count();
    int sent = 0;
    const bool dropped = waitUntil(
        [&] {
            if (!ann->linesOf("CMD_playerdisconnected", from).empty())
                return true;
            // Keep a few lines in flight, well under the per-connection line limit.
            if (sent - int(ann->linesOf("CMD_chat", from).size()) < 8) {
                bob->send("CMD_chat+2+" + text + "|clBlack");
                ++sent;
            }
            return false;
        },
        60000);
    ASSERT_TRUE(dropped);
    EXPECT_EQ(ann->linesOf("CMD_playerdisconnected", from), std::vector<std::string>{"CMD_playerdisconnected+3+"});
    EXPECT_EQ(server.slot(3).inuse, 0);
    // Bounded: the host never held more than the limit for it.
    EXPECT_LT(qint64(sent) * 50000, qint64(64) << 20);
    ::close(sink);
    expectServing();
}

TEST_P(HostileTransportTest, ConnectionResetWhileTheHostSendsCountsAsDeparture)
{
    TestTable& gone = join("Gone");
    const std::size_t from = ann->count();
    gone.reset();
    // The host may notice the reset on reading or on its next send to the table.
    bob->send("CMD_chat+2+anyone there?|clBlack");
    ASSERT_TRUE(ann->waitFor("CMD_playerdisconnected+3+Gone", from));
    EXPECT_EQ(server.slot(3).inuse, 0);
    expectServing();
}

} // namespace
