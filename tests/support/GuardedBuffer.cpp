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

int GuardedBuffer::StrayPixels() const
{
    int stray = 0;
    for (int y = 0; y < canvas->h; ++y)
        for (int x = 0; x < canvas->w; ++x) {
            const bool inside =
                x >= MARGIN && x < MARGIN + window->w && y >= MARGIN && y < MARGIN + window->h;
            stray += !inside && PixelAt(canvas, x, y) != GUARD;
        }
    return stray;
}
