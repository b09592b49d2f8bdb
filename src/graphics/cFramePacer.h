#pragma once

#include <cstdint>

// Holds presented frames to a steady rate with the frame clock. Under X11 and Wine the retrace
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

    // Starts the schedule afresh, as for the very first frame: the next frame is shown at
    // once. For a newly opened mode, whose screen has nothing yet to keep in step with.
    void Restart() { deadline_ns = 0; }

    // Under X11 the library only simulates the retrace, with its timer, and once the timer
    // runs (the music starts it) each wait lasts about 27 ms: the game would crawl at 36
    // frames a second. A retrace wait is worth making until it has taken longer than a
    // frame three times running; after that the clock alone paces the frames. The first
    // frame of a schedule never waits: the first simulated retrace after opening a mode
    // costs up to 50 ms, and there is no earlier frame to keep in step with.
    bool RetraceWaitWorthwhile() const
    {
        return deadline_ns != 0 && slow_retrace_waits < SLOW_WAITS_TO_GIVE_UP;
    }
    void RecordRetraceWait(int64_t duration_ns);

private:
    static constexpr int SLOW_WAITS_TO_GIVE_UP = 3;

    int64_t frame_ns;
    int64_t deadline_ns;        // when the previous frame was due; 0 before the first frame
    int slow_retrace_waits = 0; // in a row
};
