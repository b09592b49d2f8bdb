#include "platform/FrameClock.h"

#include <windows.h>

namespace {
const int64_t NS_PER_SECOND = 1000000000;
// The last stretch before a deadline is spent polling the clock: even a high-resolution
// timer may wake a little early or late, and a frame must never come early.
const int64_t SPIN_NS = 300000;

int64_t CounterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

// A timer that wakes within a fraction of a millisecond, where Windows has one (10, 1803 on);
// elsewhere a plain one, with the system's timer resolution raised to a millisecond for the
// life of the process, since the default 15.6 ms would miss every other frame.
HANDLE MakeTimer()
{
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    if (timer)
        return timer;
    timeBeginPeriod(1);
    return CreateWaitableTimerW(nullptr, TRUE, nullptr);
}
} // namespace

int64_t ClockNow()
{
    static const int64_t frequency = CounterFrequency();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // Whole seconds and the rest apart, so that the product cannot overflow.
    const int64_t seconds = counter.QuadPart / frequency, rest = counter.QuadPart % frequency;
    return seconds * NS_PER_SECOND + rest * NS_PER_SECOND / frequency;
}

void SleepUntil(int64_t deadline_ns)
{
    static const HANDLE timer = MakeTimer();
    for (;;) {
        const int64_t left_ns = deadline_ns - ClockNow();
        if (left_ns <= 0)
            return;
        if (left_ns <= SPIN_NS || !timer) {
            YieldProcessor();
            continue;
        }
        LARGE_INTEGER due; // negative: relative, in units of 100 ns
        due.QuadPart = -(left_ns - SPIN_NS) / 100;
        if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) ||
            WaitForSingleObject(timer, INFINITE) != WAIT_OBJECT_0)
            Sleep(static_cast<DWORD>((left_ns - SPIN_NS) / 1000000));
    }
}
