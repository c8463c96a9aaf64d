#pragma once

#include "esockexception.h"
#include "tsock.h"
#include "waituntil.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace morlu::test {

inline constexpr int kWait = 10000;

inline const char* const kKinds[] = {"Lookup", "Connect", "Close", "Listen", "Receive", "Send", "Accept", "Error"};

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

/// The text of the socket error @p action raises; empty when it raises none.
inline QString raised(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ESockException& error) {
        return QString::fromLatin1(error.what());
    }
    return QString();
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

} // namespace morlu::test
