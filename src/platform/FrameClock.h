#pragma once

#include <cstdint>

// The clock that paces frames. Every speed in the game is counted in frames, so a wait that
// returns early makes the whole game run fast.

// Nanoseconds on a clock that never goes back, from an arbitrary start.
int64_t ClockNow();

// Returns once ClockNow() has reached deadline_ns, at once if it already has; never earlier.
void SleepUntil(int64_t deadline_ns);
