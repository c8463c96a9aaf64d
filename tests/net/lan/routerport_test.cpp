#include "routerport.h"

#include "fakegateway.h"
#include "lanhosting.h"
#include "printers.h"
#include "waituntil.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace morlu;
using namespace morlu::test;

namespace {

/**
 * The router is always the fake gateway on 127.0.0.1, or a closed port there: MORLU_UPNP_ROOTDESC is
 * set before any RouterPort exists, so no test ever searches the real network for a router.
 */
class RouterPortTest : public ::testing::Test {
protected:
    void TearDown() override { qunsetenv("MORLU_UPNP_ROOTDESC"); }

    static void useRouter(const QString& rootDescription) { qputenv("MORLU_UPNP_ROOTDESC", rootDescription.toUtf8()); }
    /// A port on 127.0.0.1 where nothing listens.
    static quint16 closedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }
};

TEST_F(RouterPortTest, SaysPlainlyWhatTheRouterDid)
{
    constexpr quint16 kPort = 7772;
    struct Case {
        const char* what;
        std::function<void(FakeGateway&)> router; ///< how the fake router behaves; null: none answers
        QString notice;                           ///< the line the host shows
        QString lease;                            ///< the lease mapped; empty: nothing mapped
    };
    const std::vector<Case> cases{
        {"maps", [](FakeGateway&) {}, QStringLiteral("Reachable from the internet at 203.0.113.7:7772"),
         QStringLiteral("3600")},
        {"maps permanently when the router keeps only permanent mappings",
         [](FakeGateway& g) { g.takeOnlyPermanent(); },
         QStringLiteral("Reachable from the internet at 203.0.113.7:7772"), QStringLiteral("0")},
        {"refused", [](FakeGateway& g) { g.refuseWith(718, QStringLiteral("ConflictInMappingEntry")); },
         QStringLiteral("Not reachable from the internet: the router refused to open port 7772 (718 "
                        "ConflictInMappingEntry)."),
         QString()},
        {"no router", nullptr, QStringLiteral("Not reachable from the internet: no router answered."), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeGateway gateway;
        if (c.router) {
            c.router(gateway);
            useRouter(gateway.rootDescription());
        } else {
            useRouter(QStringLiteral("http://127.0.0.1:%1/rootDesc.xml").arg(closedPort()));
        }
        QStringList notices;
        QStringList reachable;
        LanHosting hosting({QStringLiteral("Ann's game"), kPort, false, true}, nullptr);
        QObject::connect(&hosting, &LanHosting::notice, [&](const QString& text) { notices.append(text); });
        QObject::connect(&hosting, &LanHosting::reachable, [&](const QString& address) { reachable.append(address); });
        ASSERT_TRUE(waitUntil([&] { return !notices.isEmpty(); }));
        EXPECT_EQ(notices, QStringList{c.notice});
        EXPECT_EQ(reachable, c.lease.isEmpty() ? QStringList() : QStringList{QStringLiteral("203.0.113.7:7772")});
        EXPECT_EQ(gateway.mappings().value(QStringLiteral("7772")), c.lease);
        if (!c.lease.isEmpty()) {
            const FakeGateway::Call add = gateway.calls(QStringLiteral("AddPortMapping")).constLast();
            EXPECT_EQ(add.args.value(QStringLiteral("NewInternalPort")), QStringLiteral("7772"));
            EXPECT_EQ(add.args.value(QStringLiteral("NewInternalClient")), QStringLiteral("127.0.0.1"));
            EXPECT_EQ(add.args.value(QStringLiteral("NewProtocol")), QStringLiteral("TCP"));
        }
        hosting.end();
        EXPECT_TRUE(gateway.mappings().isEmpty());
        EXPECT_EQ(gateway.calls(QStringLiteral("DeletePortMapping")).size(), c.lease.isEmpty() ? 0 : 1);
    }
}

TEST_F(RouterPortTest, RenewsAtHalfTheLeaseWhileHosting)
{
    FakeGateway gateway;
    useRouter(gateway.rootDescription());
    RouterPort port(7772);
    port.setLeaseSeconds(1);
    QStringList reachable;
    QObject::connect(&port, &RouterPort::reachable, [&](const QString& address) { reachable.append(address); });
    port.open();
    ASSERT_TRUE(waitUntil([&] { return port.renewals() >= 2; }, 5000));
    // Each renewal maps the same port for the same lease again; the player is told once.
    const QList<FakeGateway::Call> adds = gateway.calls(QStringLiteral("AddPortMapping"));
    ASSERT_GE(adds.size(), 3);
    for (const FakeGateway::Call& add : adds)
        EXPECT_EQ(add.args.value(QStringLiteral("NewLeaseDuration")), QStringLiteral("1"));
    EXPECT_EQ(reachable, QStringList{QStringLiteral("203.0.113.7:7772")});
    port.close();
    EXPECT_TRUE(gateway.mappings().isEmpty());
    const int calls = int(gateway.calls().size());
    // Closed: no renewal after the removal.
    EXPECT_FALSE(waitUntil([&] { return gateway.calls().size() > calls; }, 800));
}

} // namespace
