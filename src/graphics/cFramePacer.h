#pragma once

#include <cstdint>

// Holds presented frames to a steady rate with the monotonic clock. Under X11 the retrace
// wait returns at once, and every speed in the game is counted in frames, so without this
// the game would run as fast as the machine can draw.
class cFramePacer {
public:
    explicit cFramePacer(int frames_per_second);

    // Sleeps until the next frame is due. A caller more than a whole frame late does not
    // rush frames to catch up: the schedule restarts from now.
    void Wait();

    // The schedule itself, apart from the clock: given the time now (nanoseconds), returns
    // when the frame should be shown, and moves the schedule on by one frame.
    int64_t NextDeadline(int64_t now_ns);

private:
    int64_t frame_ns;
    int64_t deadline_ns; // when the previous frame was due; 0 before the first frame
};
