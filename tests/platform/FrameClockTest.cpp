#include "platform/FrameClock.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {
const int64_t NS_PER_MS = 1000000;

// A wait that returns early makes the game run fast; a late one is only a dropped frame, and
// how late depends on the machine's load, so only earliness is checked.
TEST(FrameClockTest, SleepUntilNeverReturnsBeforeItsDeadline)
{
    const int64_t waits_ns[] = {NS_PER_MS / 2, 2 * NS_PER_MS, NS_PER_MS * 50 / 3, 40 * NS_PER_MS};
    for (int64_t wait_ns : waits_ns) {
        for (int i = 0; i < 5; ++i) {
            const int64_t deadline = ClockNow() + wait_ns;
            SleepUntil(deadline);
            EXPECT_GE(ClockNow(), deadline) << "waiting " << wait_ns << " ns";
        }
    }
}

TEST(FrameClockTest, ADeadlinePassedReturnsAndTheClockNeverGoesBack)
{
    SleepUntil(ClockNow() - 1000 * NS_PER_MS);
    int64_t last = ClockNow();
    for (int i = 0; i < 100000; ++i) {
        const int64_t now = ClockNow();
        ASSERT_GE(now, last);
        last = now;
    }
}
} // namespace
