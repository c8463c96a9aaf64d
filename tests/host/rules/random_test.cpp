#include "random.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

using morlu::Random;
using morlu::RandomSource;
using morlu::SecureRandom;
using morlu::StreamRandom;

TEST(Random, FollowsTheGeneratorDefinition)
{
    Random random(0);
    // seed 0 -> 1; upper 32 bits of 1 * 32 are 0.
    EXPECT_EQ(random.draw(32), 0u);
    EXPECT_EQ(random.seed(), 1u);
    // seed 1 -> 134775814; (134775814 * 32) >> 32 = 1.
    EXPECT_EQ(random.draw(32), 1u);
    EXPECT_EQ(random.seed(), 134775814u);
}

TEST(Random, WrapsModuloTwoToThe32AndStaysInRange)
{
    Random random(0xFFFFFFFFu);
    const std::uint32_t expectedSeed = 0xFFFFFFFFu * 134775813u + 1u;
    const std::uint32_t value = random.draw(6);
    EXPECT_EQ(random.seed(), expectedSeed);
    EXPECT_EQ(value, static_cast<std::uint32_t>((std::uint64_t(expectedSeed) * 6) >> 32));
    for (int i = 0; i < 10000; ++i)
        EXPECT_LT(random.draw(8), 8u);
    EXPECT_EQ(random.draw(0), 0u);
}

// The secure source and the computers' own streams: every draw in range and each value about equally
// often (a band bias or a stuck source shows here), and two sources of a kind do not repeat each other.
TEST(Random, UnforeseeableSourcesDrawUniformlyInRange)
{
    struct Row {
        const char* name;
        std::function<std::unique_ptr<RandomSource>()> make;
    };
    const Row rows[] = {
        {"secure", [] { return std::make_unique<SecureRandom>(); }},
        {"stream", [] { return std::make_unique<StreamRandom>(SecureRandom::seed64()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto first = row.make();
        const auto second = row.make();
        EXPECT_EQ(first->draw(0), 0u);
        EXPECT_EQ(first->draw(1), 0u);
        std::array<int, 6> counts{};
        int same = 0;
        constexpr int kDraws = 6000;
        for (int i = 0; i < kDraws; ++i) {
            const std::uint32_t value = first->draw(6);
            ASSERT_LT(value, 6u);
            ++counts[value];
            same += value == second->draw(6) ? 1 : 0;
        }
        for (const int count : counts) {
            EXPECT_GT(count, kDraws / 6 - 200);
            EXPECT_LT(count, kDraws / 6 + 200);
        }
        EXPECT_LT(same, kDraws / 6 + 200) << "two sources drew alike";
        EXPECT_LT(first->draw(0xFFFFFFFFu), 0xFFFFFFFFu);
    }
}
