#include "graphics/cFramePacer.h"

#include <cerrno>
#include <ctime>

namespace {
const int64_t NS_PER_SECOND = 1000000000;
} // namespace

int64_t cFramePacer::Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * NS_PER_SECOND + now.tv_nsec;
}

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

void cFramePacer::Wait()
{
    const int64_t deadline = NextDeadline(Now());
    timespec until;
    until.tv_sec = deadline / NS_PER_SECOND;
    until.tv_nsec = deadline % NS_PER_SECOND;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void cFramePacer::RecordRetraceWait(int64_t duration_ns)
{
    if (!RetraceWaitWorthwhile())
        return;
    slow_retrace_waits = duration_ns > frame_ns ? slow_retrace_waits + 1 : 0;
}
