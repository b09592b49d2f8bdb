#include "graphics/cFramePacer.h"

#include <gtest/gtest.h>

namespace {
const int64_t FRAME = 1000000000 / 60;
const int64_t START = 5000000000;

TEST(FramePacer, KeepsAOneFrameScheduleUntilAWholeFrameLate)
{
    cFramePacer pacer(60);
    EXPECT_EQ(pacer.NextDeadline(START), START); // the first frame is due at once
    EXPECT_EQ(pacer.NextDeadline(START + 3000000), START + FRAME);
    // Drawing took almost a frame too long: that frame is late, but the schedule holds so
    // that the average rate does.
    EXPECT_EQ(pacer.NextDeadline(START + 3 * FRAME - 1), START + 2 * FRAME);
    EXPECT_EQ(pacer.NextDeadline(START + 3 * FRAME), START + 3 * FRAME);
    EXPECT_EQ(pacer.NextDeadline(START + 5 * FRAME), START + 4 * FRAME); // a frame late exactly
    // Over a frame late, it restarts from now instead of rushing frames to catch up.
    const int64_t after_stall = START + 6 * FRAME + 1;
    EXPECT_EQ(pacer.NextDeadline(after_stall), after_stall);
    EXPECT_EQ(pacer.NextDeadline(after_stall + 100), after_stall + FRAME);
}

// The first frame of a schedule passes at once, and slow retrace waits are given up only
// three in a row.
TEST(FramePacer, WaitsForTheRetraceAfterTheFirstFrameUntilThreeSlowWaitsInARow)
{
    cFramePacer pacer(60);
    EXPECT_FALSE(pacer.RetraceWaitWorthwhile());
    pacer.NextDeadline(START);
    EXPECT_TRUE(pacer.RetraceWaitWorthwhile());
    const int64_t quick = FRAME / 2, slow = FRAME + FRAME / 2;
    for (int64_t wait : {slow, slow, quick, slow, slow, quick})
        pacer.RecordRetraceWait(wait);
    EXPECT_TRUE(pacer.RetraceWaitWorthwhile());
    pacer.Restart(); // a new mode
    EXPECT_FALSE(pacer.RetraceWaitWorthwhile());
    EXPECT_EQ(pacer.NextDeadline(START + FRAME), START + FRAME);
    EXPECT_TRUE(pacer.RetraceWaitWorthwhile());
    for (int i = 0; i < 3; ++i)
        pacer.RecordRetraceWait(slow);
    EXPECT_FALSE(pacer.RetraceWaitWorthwhile());
    pacer.RecordRetraceWait(quick); // no longer waited for, so no longer timed
    EXPECT_FALSE(pacer.RetraceWaitWorthwhile());
}
} // namespace
