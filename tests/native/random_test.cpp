#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/random.h"

namespace {

TEST(RandomTest, SeedOneGivesTheWindowsRuntimeSequence) {
    SeedRandom(1);
    EXPECT_EQ(RandomInteger(), 41);
    EXPECT_EQ(RandomInteger(), 18467);
    EXPECT_EQ(RandomInteger(), 6334);
    EXPECT_EQ(RandomInteger(), 26500);
    EXPECT_EQ(RandomInteger(), 19169);
}

TEST(RandomTest, ReseedingRestartsTheSequence) {
    SeedRandom(0xdeadbeef);
    const int first = RandomInteger();
    const int second = RandomInteger();
    SeedRandom(0xdeadbeef);
    EXPECT_EQ(RandomInteger(), first);
    EXPECT_EQ(RandomInteger(), second);

    // Different seeds part at once.
    SeedRandom(2);
    const int fromTwo = RandomInteger();
    SeedRandom(3);
    EXPECT_NE(RandomInteger(), fromTwo);
}

TEST(RandomTest, ValuesStayWithinFifteenBitsAndReachBothEnds) {
    // The state's top bit must not leak into the result, and the whole range must be reached:
    // the snow divides by 32767 and takes remainders.
    SeedRandom(4242);
    int lowest = kRandomMaximum;
    int highest = 0;
    std::set<int> seen;
    for (int i = 0; i < 1'000'000; ++i) {
        const int value = RandomInteger();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, kRandomMaximum);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        seen.insert(value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, kRandomMaximum);
    EXPECT_EQ(seen.size(), static_cast<size_t>(kRandomMaximum) + 1);
}

}  // namespace
