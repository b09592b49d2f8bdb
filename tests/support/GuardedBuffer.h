#pragma once

#include <allegro.h>

#include <cstdint>

// While alive, cGraphics::double_buffer is a window of the same size into a larger bitmap
// whose frame of guard pixels shows any write that strays outside the buffer. Needs a
// HeadlessScreen (or other open double buffer) to take the size from; restores it after.
class GuardedBuffer {
public:
    GuardedBuffer();
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    // Guard pixels around the buffer that no longer hold the guard colour.
    int StrayPixels() const;

    static constexpr int MARGIN = 16;
    static constexpr uint16_t GUARD = 0x4208; // dark grey

private:
    BITMAP* canvas;
    BITMAP* window;
    BITMAP* replaced;
};
