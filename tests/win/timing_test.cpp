// Block time, position ticks and refresh periods.
#include <gtest/gtest.h>

#include "timing.h"

namespace quavera {
namespace {

constexpr double kMsPerFrame44 = 1152 * 1000.0 / 44100;

TEST(Timing, DefaultsAt44100Hz) {
    const int block = BlockTime(2, kMsPerFrame44);
    EXPECT_EQ(block, 52);
    EXPECT_EQ(RefreshPeriod(1, block, 3), 13);
    EXPECT_EQ(RefreshPeriod(3, block, 3), 52);
    EXPECT_EQ(FramesPerTick(44100, 1000, 1152), 38);
    EXPECT_EQ(FramesPerTick(44100, 0, 1152), 0);
    EXPECT_EQ(FramesPerTick(48000, 1000, 1152), 41);
}

TEST(Timing, ThreadSleepsAQuarterOfTheSpareTime) {
    // 95 % of 52 is 49; 9 ms of decoding leaves 40, a quarter is 10.
    EXPECT_EQ(RefreshPeriod(2, 52, 9), 10);
    // Less than 5 ms of sleep is not worth it, and no spare time means none.
    EXPECT_EQ(RefreshPeriod(2, 52, 30), 0);
    EXPECT_EQ(RefreshPeriod(2, 52, 60), 0);
    EXPECT_EQ(RefreshPeriod(2, 417, 0), 99);
}

TEST(Timing, LongBlocks) {
    EXPECT_EQ(BlockTime(16, kMsPerFrame44), 417);
    EXPECT_EQ(BlockTime(1, 1152 * 1000.0 / 8000), 144);
}

} // namespace
} // namespace quavera
