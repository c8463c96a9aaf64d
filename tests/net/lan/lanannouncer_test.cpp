#include "lanannouncer.h"

#include "avahigamefinder.h"
#include "fakegateway.h"
#include "landaemons.h"
#include "printers.h"
#include "serverprocess.h"
#include "testtable.h"
#include "waituntil.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

using namespace morlu;
using namespace morlu::test;

namespace morlu {

// Found by gtest through the argument's namespace.
void PrintTo(const FoundGame& game, std::ostream* os);
void PrintTo(const FoundGame& game, std::ostream* os)
{
    *os << game.name.toStdString() << " at " << game.host.toStdString() << ':' << game.port << " version "
        << game.version.toStdString() << " players " << game.players << " free " << game.free
        << (game.playing ? " playing" : " waiting");
}

} // namespace morlu

namespace {

/// Needs the confined daemon: skips without it, unless it is required.
#define REQUIRE_LAN_DAEMONS()                                                                                          \
    do {                                                                                                               \
        if (const QString why = ensureLanDaemons(); !why.isEmpty()) {                                                  \
            if (lanDaemonsRequired())                                                                                  \
                FAIL() << "no discovery daemon: " << why.toStdString();                                                \
            GTEST_SKIP() << "no discovery daemon: " << why.toStdString();                                              \
        }                                                                                                              \
    } while (false)

class LanAnnouncerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_LAN_DAEMONS();
        finder = std::make_unique<AvahiGameFinder>([this](const QString& text) { log.append(text); });
        ASSERT_TRUE(waitUntil([&] { return finder->available(); }));
    }

    /// The game of that name as the finder lists it, once it matches @p expected.
    bool found(const FoundGame& expected)
    {
        return waitUntil([&] { return finder->games().contains(expected); });
    }
    std::optional<FoundGame> named(const QString& name) const
    {
        for (const FoundGame& game : finder->games()) {
            if (game.name == name)
                return game;
        }
        return std::nullopt;
    }

    QStringList log;
    std::unique_ptr<AvahiGameFinder> finder;
};

FoundGame game(const QString& name, quint16 port, int players, int free, bool playing)
{
    return FoundGame{name, QStringLiteral("127.0.0.1"), port, QStringLiteral("1.0.5"), players, free, playing};
}

TEST_F(LanAnnouncerTest, FollowsSeatsAndTheGameAndGoesWhenTheHostEnds)
{
    auto ann = std::make_unique<LanAnnouncer>(QStringLiteral("Ann's game"), 17772, nullptr);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::optional<FoundGame> expected; ///< nothing: the game is gone
    };
    const std::vector<Step> steps{
        {"announced with nobody seated", [] {}, game("Ann's game", 17772, 0, 4, false)},
        {"the host player and a friend sit",
         [&] {
             ann->setSeats({2, 2, false});
         },
         game("Ann's game", 17772, 2, 2, false)},
        {"a burst of changes is one update",
         [&] {
             ann->setSeats({3, 1, false});
             ann->setSeats({4, 0, false});
         },
         game("Ann's game", 17772, 4, 0, false)},
        {"the game starts",
         [&] {
             ann->setSeats({4, 0, true});
         },
         game("Ann's game", 17772, 4, 0, true)},
        {"a player leaves during the game",
         [&] {
             ann->setSeats({3, 1, true});
         },
         game("Ann's game", 17772, 3, 1, true)},
        {"the host ends", [&] { ann.reset(); }, std::nullopt},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        if (step.expected) {
            EXPECT_TRUE(found(*step.expected)) << ::testing::PrintToString(finder->games());
        } else {
            EXPECT_TRUE(waitUntil([&] { return !named(QStringLiteral("Ann's game")); }));
        }
    }
    EXPECT_EQ(log, QStringList());
}

TEST_F(LanAnnouncerTest, ATakenNameGetsTheAlternative)
{
    LanAnnouncer first(QStringLiteral("Friday night"), 17773, nullptr);
    ASSERT_TRUE(found(game("Friday night", 17773, 0, 4, false)));
    LanAnnouncer second(QStringLiteral("Friday night"), 17774, nullptr);
    ASSERT_TRUE(waitUntil([&] { return second.established(); }));
    EXPECT_EQ(second.name(), QStringLiteral("Friday night #2"));
    EXPECT_TRUE(found(game("Friday night #2", 17774, 0, 4, false)));
    EXPECT_TRUE(found(game("Friday night", 17773, 0, 4, false)));
}

TEST(LanAnnouncerNameTest, CutsTheBaseSoTheNameFitsOneLabel)
{
    const auto repeat = [](char32_t c, int n) {
        const std::u32string text(std::size_t(n), c);
        return QString::fromUcs4(text.c_str(), n);
    };
    struct Row {
        QString base;
        QString expected;
    };
    const std::vector<Row> rows{
        {QStringLiteral("Ann"), QStringLiteral("Ann's game")},
        {QString(70, QLatin1Char('a')), QString(56, QLatin1Char('a')) + QStringLiteral("'s game")},
        {repeat(U'\u00e9', 40), repeat(U'\u00e9', 28) + QStringLiteral("'s game")},         // 2 bytes each
        {repeat(U'\U0001F0A1', 30), repeat(U'\U0001F0A1', 14) + QStringLiteral("'s game")}, // 4 bytes, 2 UTF-16 units
    };
    for (const Row& row : rows)
        EXPECT_EQ(LanAnnouncer::serviceName(row.base, QStringLiteral("'s game")), row.expected);
}

/// No daemon (here: no system bus at all): one line on stderr, and the host serves as ever.
TEST(LanWithoutDaemonTest, SaysSoOnceAndHostsAsEver)
{
    const QByteArray saved = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/morlu-test-bus");
    ServerProcess server;
    server.start({"--port", "0", "--name", "Nobody hears"});
    const quint16 port = server.waitListening();
    if (saved.isNull())
        qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    else
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", saved);
    ASSERT_NE(port, 0) << server.standardError().toStdString();

    TestTable table(port);
    ASSERT_TRUE(table.login("Ann"));
    ASSERT_TRUE(server.terminate());
    EXPECT_EQ(server.process().exitCode(), 0);
    EXPECT_EQ(server.standardOutput(), QByteArray("Listening on port ") + QByteArray::number(port) + '\n');
    const QByteArray said = "Local network discovery is unavailable: ";
    const QByteArray err = server.standardError();
    EXPECT_EQ(err.count(said), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("logged in as Ann")) << err.toStdString();
}

/// `morlu --server --name ... --upnp`: announced and reachable while it runs, both gone after SIGTERM.
TEST_F(LanAnnouncerTest, DedicatedHostAnnouncesOpensTheRouterAndWithdrawsBoth)
{
    FakeGateway gateway;
    qputenv("MORLU_UPNP_ROOTDESC", gateway.rootDescription().toUtf8());
    ServerProcess server;
    server.start({"--port", "0", "--name", "Friday night", "--upnp"});
    const quint16 port = server.waitListening();
    qunsetenv("MORLU_UPNP_ROOTDESC");
    ASSERT_NE(port, 0) << server.standardError().toStdString();

    ASSERT_TRUE(found(game("Friday night", port, 0, 4, false)));
    const QByteArray reachable = "Reachable from the internet at 203.0.113.7:" + QByteArray::number(port) + "\n";
    ASSERT_TRUE(waitUntil([&] { return server.standardOutput().contains(reachable); }))
        << server.standardOutput().toStdString();
    EXPECT_EQ(gateway.mappings().value(QString::number(port)), QStringLiteral("3600"));

    TestTable table(port);
    ASSERT_TRUE(table.login("Ann"));
    EXPECT_TRUE(found(game("Friday night", port, 1, 3, false)));

    ASSERT_TRUE(server.terminate());
    EXPECT_EQ(server.process().exitCode(), 0);
    EXPECT_TRUE(gateway.mappings().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return !named(QStringLiteral("Friday night")); }));
}

} // namespace
