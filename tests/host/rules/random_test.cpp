#include "random.h"

#include <gtest/gtest.h>

using morlu::Random;

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

TEST(Random, TimeOfDaySeedIsWithinOneDay)
{
    EXPECT_LT(Random::seedFromTimeOfDay(), 24u * 60 * 60 * 1000);
}
