#include "graphics/cFramePacer.h"

#include "platform/FrameClock.h"

namespace {
const int64_t NS_PER_SECOND = 1000000000;
} // namespace

cFramePacer::cFramePacer(int frames_per_second)
    : frame_ns(NS_PER_SECOND / frames_per_second), deadline_ns(0)
{
}

int64_t cFramePacer::NextDeadline(int64_t now_ns)
{
    const bool first_frame = deadline_ns == 0;
    deadline_ns += frame_ns;
    if (first_frame || now_ns - deadline_ns > frame_ns)
        deadline_ns = now_ns;
    return deadline_ns;
}

void cFramePacer::Wait() { SleepUntil(NextDeadline(ClockNow())); }

void cFramePacer::RecordRetraceWait(int64_t duration_ns)
{
    if (!RetraceWaitWorthwhile())
        return;
    slow_retrace_waits = duration_ns > frame_ns ? slow_retrace_waits + 1 : 0;
}
