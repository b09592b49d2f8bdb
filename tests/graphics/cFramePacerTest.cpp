#include "graphics/cFramePacer.h"

#include <gtest/gtest.h>

namespace {
const int64_t FRAME = 1000000000 / 60;
const int64_t START = 5000000000;

TEST(FramePacer, FirstFrameIsDueAtOnceAndLaterOnesOneFrameApart)
{
    cFramePacer pacer(60);
    EXPECT_EQ(pacer.NextDeadline(START), START);
    EXPECT_EQ(pacer.NextDeadline(START + 3000000), START + FRAME);
    EXPECT_EQ(pacer.NextDeadline(START + FRAME + 1000), START + 2 * FRAME);
}

TEST(FramePacer, KeepsTheScheduleWhenLessThanAFrameLate)
{
    cFramePacer pacer(60);
    pacer.NextDeadline(START);
    // Drawing took a frame and a half: the next frame is late but shown at its time slot
    // so that the average rate holds.
    EXPECT_EQ(pacer.NextDeadline(START + FRAME * 3 / 2), START + FRAME);
    EXPECT_EQ(pacer.NextDeadline(START + FRAME * 3 / 2 + 10), START + 2 * FRAME);
}

TEST(FramePacer, RestartsInsteadOfRushingAfterALongStall)
{
    cFramePacer pacer(60);
    pacer.NextDeadline(START);
    const int64_t after_stall = START + 10 * FRAME;
    EXPECT_EQ(pacer.NextDeadline(after_stall), after_stall);
    EXPECT_EQ(pacer.NextDeadline(after_stall + 100), after_stall + FRAME);
}

TEST(FramePacer, GivesUpRetraceWaitsOnlyAfterThreeSlowOnesInARow)
{
    cFramePacer pacer(60);
    const int64_t quick = FRAME / 2, slow = FRAME + FRAME / 2;
    for (int64_t wait : {slow, slow, quick, slow, slow, quick})
        pacer.RecordRetraceWait(wait);
    EXPECT_TRUE(pacer.RetraceWaitWorthwhile());
    for (int i = 0; i < 3; ++i)
        pacer.RecordRetraceWait(slow);
    EXPECT_FALSE(pacer.RetraceWaitWorthwhile());
    pacer.RecordRetraceWait(quick); // no longer waited for, so no longer timed
    EXPECT_FALSE(pacer.RetraceWaitWorthwhile());
}
} // namespace
