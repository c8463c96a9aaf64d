#include "tablelink.h"

#include "fieldreader.h"
#include "logcapture.h"
#include "memoryconnection.h"
#include "printers.h"
#include "tsock.h"
#include "waituntil.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <vector>

using morlu::MemoryConnection;
using morlu::TSock;

namespace {

constexpr int kWait = 10000;

QByteArray lines(std::initializer_list<const char*> texts)
{
    QByteArray bytes;
    for (const char* text : texts)
        bytes.append(text).append('\xFF');
    return bytes;
}

/// A link over an in-memory connection whose handlers record the rest of every line they get.
class TableLinkTest : public ::testing::Test {
protected:
    TableLinkTest()
    {
        link.dispatcher().add("CMD_a", [this](std::string_view rest) { handled.emplace_back(rest); });
        link.dispatcher().add(
            "CMD_n", [this](std::string_view rest) { handled.push_back("n" + std::to_string(morlu::toInt(rest))); });
    }

    /// The host sends @p bytes and the link receives them; only posted events run, so Timer1 does not tick.
    void receive(const QByteArray& bytes)
    {
        host.sendLine(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        QCoreApplication::sendPostedEvents();
    }

    MemoryConnection::Ends ends = MemoryConnection::pair();
    MemoryConnection& host = *ends.first;
    TableLink link{std::move(ends.second)};
    std::vector<std::string> handled;
};

TEST_F(TableLinkTest, HandlesOneQueuedLinePerTickAndStopsItsTimerWhenNothingWaits)
{
    EXPECT_FALSE(link.timerActive());
    receive(lines({"CMD_a+1", "CMD_a+2", "CMD_a+3"}));
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(link.waitingLines(), 3u);
    EXPECT_TRUE(link.timerActive());

    for (std::size_t tick = 1; tick <= 3; ++tick) {
        link.Timer1Timer();
        EXPECT_EQ(handled.size(), tick);
        EXPECT_EQ(link.waitingLines(), 3 - tick);
        EXPECT_EQ(link.timerActive(), tick < 3) << tick;
    }
    EXPECT_EQ(handled, (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(TableLinkTest, TextCrossesTheWireByTheCharacterSetRule)
{
    std::vector<std::string> atHost;
    QObject::connect(&host, &MemoryConnection::lineReceived, &link,
                     [&](std::string_view line) { atHost.emplace_back(line); });
    struct Row {
        const char* what;
        std::string wire;    ///< the bytes on the wire, either way
        std::string program; ///< the text inside the program (UTF-8)
    };
    const Row rows[] = {
        {"French", "CMD_a+Fran\xE7ois chats: d\xE9j\xE0 vu|clBlack",
         "CMD_a+Fran\xC3\xA7ois chats: d\xC3\xA9j\xC3\xA0 vu|clBlack"},
        {"German", "CMD_a+J\xFCrgen says: Gr\xFC\xDF Gott|clNavy",
         "CMD_a+J\xC3\xBCrgen says: Gr\xC3\xBC\xC3\x9F Gott|clNavy"},
        {"Polish", "CMD_a+\xC5\x81ukasz chats: Cze\xC5\x9B\xC4\x87|clRed",
         "CMD_a+\xC5\x81ukasz chats: Cze\xC5\x9B\xC4\x87|clRed"},
        {"Russian", "CMD_a+\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD chats: d\xC3\xA9j\xC3\xA0|clRed",
         "CMD_a+\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD chats: d\xC3\xA9j\xC3\xA0|clRed"},
    };
    for (const Row& row : rows) {
        // From an older host (or ours) to this table: the handler reads UTF-8.
        handled.clear();
        receive(QByteArray::fromStdString(row.wire + '\xFF'));
        ASSERT_TRUE(link.processsocktimer()) << row.what;
        EXPECT_EQ(handled, std::vector<std::string>{row.program.substr(6)}) << row.what;
        // From this table to the host: the same bytes an older table would write, where they fit.
        atHost.clear();
        link.sendline(row.program + '\xFF');
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(atHost, std::vector<std::string>{row.wire}) << row.what;
    }
}

TEST_F(TableLinkTest, ALineCutAcrossReadsIsHandledWhenItsEndArrives)
{
    receive(QByteArray("CMD_a+hel"));
    EXPECT_EQ(link.waitingLines(), 0u);
    EXPECT_FALSE(link.timerActive());
    receive(lines({"lo"}));
    link.Timer1Timer();
    EXPECT_EQ(handled, (std::vector<std::string>{"hello"}));
}

TEST_F(TableLinkTest, MalformedAndUnknownLinesAreDroppedAndTheNextLineStillComes)
{
    morlu::test::LogCapture log;
    receive(lines({"CMD_n+x7", "CMD_unknown+1", "no plus", "CMD_n+", "CMD_n+8"}));
    ASSERT_TRUE(morlu::test::waitUntil([&] { return link.waitingLines() == 0u; }, kWait)) << "link.waitingLines()";
    EXPECT_EQ(handled, (std::vector<std::string>{"n8"}));
    EXPECT_EQ(log.warnings, (QStringList{QStringLiteral("'x7' is not a valid integer value"),
                                         QStringLiteral("'' is not a valid integer value")}));
    EXPECT_FALSE(link.timerActive());
}

TEST_F(TableLinkTest, AHandlerInAModalLoopIsNotEnteredAgain)
{
    int nested = 0;
    link.dispatcher().add("CMD_box", [&](std::string_view) {
        // What a message box's own loop would do: the timer ticks again inside the handler.
        nested += link.processsocktimer() ? 1 : 0;
        link.Timer1Timer();
        EXPECT_FALSE(link.timerActive());
    });
    receive(lines({"CMD_box+", "CMD_a+after"}));
    link.Timer1Timer();
    EXPECT_EQ(nested, 0);
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(link.waitingLines(), 1u);
    EXPECT_TRUE(link.timerActive());
    link.Timer1Timer();
    EXPECT_EQ(handled, (std::vector<std::string>{"after"}));
}

TEST_F(TableLinkTest, AnOverlongLineIsDroppedAndTheTableStays)
{
    morlu::test::LogCapture log;
    QSignalSpy closed(&link, &TableLink::closed);
    const QByteArray overlong(int(morlu::LineFramer::kMaxLine) + 10, 'x');
    // Whole, then arriving in pieces with the next line in the same read as its end.
    receive(lines({"CMD_a+first"}) + overlong + char(0xFF) + lines({"CMD_a+second"}));
    receive(overlong.left(40000));
    receive(overlong.mid(40000) + char(0xFF) + lines({"CMD_a+third"}));
    for (int i = 0; i < 3; ++i)
        link.Timer1Timer();
    EXPECT_EQ(handled, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_FALSE(link.connectionEnded());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(link.droppedLines(), 2);
    EXPECT_EQ(log.warnings.size(), 2);
}

/// The host side of a real connection on the loopback: a listener on a free port and the accepted peer.
struct FakeHost {
    TSock listener;
    TSock* peer = nullptr;

    FakeHost()
    {
        listener.setPortName(QStringLiteral("0"));
        listener.OnAccept = [this](TSock*) { listener.Accept(peer); };
        listener.setListen(true);
    }
    QString port() const { return QString::number(listener.localPort()); }
};

TEST(TableLinkConnection, LinesFromTheHostAreHandledBeforeTheClosedConnectionEndsTheTable)
{
    FakeHost host;
    TableLink link;
    std::vector<std::string> handled;
    link.dispatcher().add("CMD_a", [&](std::string_view rest) { handled.emplace_back(rest); });
    QSignalSpy closed(&link, &TableLink::closed);

    link.open(QStringLiteral("127.0.0.1"), host.port());
    ASSERT_TRUE(morlu::test::waitUntil([&] { return host.peer != nullptr && host.peer->isConnected(); }, kWait));
    host.peer->Send(lines({"CMD_a+1", "CMD_a+2", "CMD_a+3"}));
    host.peer->Close();

    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(handled, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_FALSE(link.timerActive());
}

TEST(TableLinkConnection, AConnectionResetByTheHostEndsTheTableLikeAClose)
{
    FakeHost host;
    TableLink link;
    QSignalSpy closed(&link, &TableLink::closed);
    link.open(QStringLiteral("127.0.0.1"), host.port());
    ASSERT_TRUE(morlu::test::waitUntil(
        [&] { return host.peer != nullptr && host.peer->isConnected() && link.connection().isConnected(); }, kWait));
    // A close with SO_LINGER 0 resets the connection instead of ending it in order.
    const linger abort{1, 0};
    ASSERT_EQ(::setsockopt(host.peer->handle(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort), 0);
    host.peer->Close();
    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_TRUE(link.connectionEnded());
    EXPECT_FALSE(link.connection().isOpen());
}

TEST(TableLinkConnection, ARefusedConnectionLeavesTheLinkOpen)
{
    quint16 freePort = 0;
    {
        FakeHost gone;
        freePort = gone.listener.localPort();
    }
    TableLink link;
    QSignalSpy closed(&link, &TableLink::closed);
    link.open(QStringLiteral("127.0.0.1"), QString::number(freePort));
    ASSERT_TRUE(morlu::test::waitUntil([&] { return !link.connection().isConnecting(); }, kWait));
    QCoreApplication::processEvents();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_FALSE(link.connectionEnded());
}

} // namespace

// A host that sends faster than the table handles lines is held back: the link stops reading while too
// many lines wait and reads on once they are handled; every line comes, in order.
TEST(TableLinkConnection, AFloodWaitsInTheConnectionNotInTheQueue)
{
    FakeHost host;
    TableLink link;
    int handled = 0;
    bool inOrder = true;
    link.dispatcher().add("CMD_n",
                          [&](std::string_view rest) { inOrder = inOrder && morlu::toInt(rest) == handled++; });
    QSignalSpy closed(&link, &TableLink::closed);
    link.open(QStringLiteral("127.0.0.1"), host.port());
    ASSERT_TRUE(morlu::test::waitUntil([&] { return host.peer != nullptr && host.peer->isConnected(); }, kWait));

    constexpr int kLines = 3 * int(TableLink::kMostWaiting);
    QByteArray flood;
    for (int n = 0; n < kLines; ++n)
        flood.append("CMD_n+").append(QByteArray::number(n)).append('\xFF');
    host.peer->Send(flood);
    host.peer->Close();
    ASSERT_TRUE(morlu::test::waitUntil([&] { return !link.receiving(); }, kWait));
    std::size_t deepest = 0;
    while (closed.isEmpty()) {
        deepest = std::max(deepest, link.waitingLines());
        link.processsocktimer();
        QCoreApplication::processEvents();
    }
    // One read of the socket (32 KiB) may come on top of the limit, no more.
    EXPECT_LE(deepest, TableLink::kMostWaiting + 32768 / 8);
    EXPECT_EQ(handled, kLines);
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(link.receiving());
}
