#include "printers.h"
#include "tsock.h"
#include "tsockfixture.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <sys/socket.h>

using namespace morlu;
using namespace morlu::test;

namespace {

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
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

} // namespace
