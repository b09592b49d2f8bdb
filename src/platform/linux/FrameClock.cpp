#include "platform/FrameClock.h"

#include <cerrno>
#include <ctime>

namespace {
const int64_t NS_PER_SECOND = 1000000000;
} // namespace

int64_t ClockNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * NS_PER_SECOND + now.tv_nsec;
}

void SleepUntil(int64_t deadline_ns)
{
    timespec until;
    until.tv_sec = deadline_ns / NS_PER_SECOND;
    until.tv_nsec = deadline_ns % NS_PER_SECOND;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}
