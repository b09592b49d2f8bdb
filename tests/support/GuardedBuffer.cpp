#include "support/GuardedBuffer.h"

#include "graphics/cGraphics.h"
#include "support/Headless.h"

GuardedBuffer::GuardedBuffer() : replaced(cGraphics::double_buffer)
{
    canvas = SolidBitmap(replaced->w + 2 * MARGIN, replaced->h + 2 * MARGIN, GUARD);
    window = create_sub_bitmap(canvas, MARGIN, MARGIN, replaced->w, replaced->h);
    blit(replaced, window, 0, 0, 0, 0, replaced->w, replaced->h);
    cGraphics::double_buffer = window;
}

GuardedBuffer::~GuardedBuffer()
{
    cGraphics::double_buffer = replaced;
    destroy_bitmap(window);
    destroy_bitmap(canvas);
}

// The frame holds the guard pixels that are not the window's.
int GuardedBuffer::StrayPixels() const
{
    const int frame = canvas->w * canvas->h - window->w * window->h;
    return frame - (CountPixels(canvas, GUARD) - CountPixels(window, GUARD));
}
