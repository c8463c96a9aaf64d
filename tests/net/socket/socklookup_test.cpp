#include "socklookup.h"

#include "hostcache.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <netdb.h>
#include <optional>
#include <sys/socket.h>
#include <utility>

using namespace morlu;

namespace {

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

} // namespace
