#include "printers.h"
#include "tserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

using namespace morlu;

namespace {

/// Seat @p seat's first hand as a host whose generator had @p seed would deal it: the shuffle as the
/// host does it, the way anyone who knows the generator can.
std::array<int, kHandSlots + 1> dealtFrom(std::uint32_t seed, int seat)
{
    Random random(seed);
    std::array<int, kCardCount + 1> places{};
    for (int card = 1; card <= kCardCount; ++card) {
        int place = 0;
        do {
            place = int(random.draw(kCardCount)) + 1;
        } while (places[std::size_t(place)] != 0);
        places[std::size_t(place)] = card;
    }
    std::array<int, kHandSlots + 1> hand{};
    for (int slot = 1; slot <= kHandSlots; ++slot)
        hand[std::size_t(slot)] = places[std::size_t((slot - 1) * kSeatCount + seat)];
    std::sort(hand.begin() + 1, hand.end());
    return hand;
}

// With a seed the game's own generator deals, as it always has; without one no seed does: neither the
// milliseconds of the day around the start nor a second host started at the same moment repeat a hand.
TEST(HostChance, OnlyAGivenSeedPinsTheDeal)
{
    struct Row {
        std::optional<std::uint32_t> seed;
        bool foreseeable;
    };
    const Row rows[] = {{0u, true}, {20240607u, true}, {std::nullopt, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seed ? std::to_string(*row.seed) : std::string("no seed"));
        const auto msOfDay = [] {
            using namespace std::chrono;
            return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() %
                   (24LL * 60 * 60 * 1000);
        };
        const long long before = msOfDay();
        std::array<TServer, 2> hosts;
        for (TServer& host : hosts) {
            if (row.seed)
                host.useSeed(*row.seed);
            for (int seat = 1; seat <= kSeatCount; ++seat)
                host.engine().seat(seat).inuse = 1;
            host.engine().startgame(StartGame{"Host", "l"});
        }
        const auto& hand = hosts[0].engine().seat(1).cards;
        EXPECT_EQ(hand == hosts[1].engine().seat(1).cards, row.foreseeable);
        if (row.seed) {
            EXPECT_EQ(hand, dealtFrom(*row.seed, 1));
            continue;
        }
        constexpr long long kDay = 24LL * 60 * 60 * 1000;
        const long long spent = (msOfDay() - before + kDay) % kDay;
        for (long long ms = before - 10000; ms <= before + spent + 10000; ++ms) {
            const auto seed = std::uint32_t((ms + kDay) % kDay);
            ASSERT_NE(hand, dealtFrom(seed, 1)) << "dealt from the time of day " << seed;
        }
    }
}

} // namespace
