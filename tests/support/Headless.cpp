#include "support/Headless.h"

#include "graphics/cGraphics.h"

#include <algorithm>

HeadlessScreen::HeadlessScreen(int width, int height)
{
    cGraphics::SCR_WIDTH = width;
    cGraphics::SCR_HEIGHT = height;
    cGraphics::mode = cGraphics::NARROW_MODE;
    cGraphics::double_buffer = SolidBitmap(width + 1, height + 1, 0);
    cGraphics::not_loaded = SolidBitmap(PLACEHOLDER_SIZE, PLACEHOLDER_SIZE, PLACEHOLDER);
}

HeadlessScreen::~HeadlessScreen()
{
    destroy_bitmap(cGraphics::double_buffer);
    destroy_bitmap(cGraphics::not_loaded);
    cGraphics::double_buffer = nullptr;
    cGraphics::not_loaded = nullptr;
    cGraphics::mode = 0;
}

uint16_t PixelAt(BITMAP* bitmap, int x, int y)
{
    return reinterpret_cast<uint16_t*>(bitmap->line[y])[x];
}

void SetPixel(BITMAP* bitmap, int x, int y, uint16_t value)
{
    reinterpret_cast<uint16_t*>(bitmap->line[y])[x] = value;
}

BITMAP* SolidBitmap(int width, int height, uint16_t value)
{
    BITMAP* bitmap = create_bitmap_ex(16, width, height);
    clear_to_color(bitmap, value); // at 16 bits, the colour is the raw pixel
    return bitmap;
}

int CountPixels(BITMAP* bitmap, uint16_t value)
{
    int count = 0;
    for (int y = 0; y < bitmap->h; ++y)
        for (int x = 0; x < bitmap->w; ++x)
            count += PixelAt(bitmap, x, y) == value;
    return count;
}

int DifferingPixels(BITMAP* a, BITMAP* b)
{
    int count = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            count += getpixel(a, x, y) != getpixel(b, x, y);
    return count;
}

std::array<int, 4> BoxOf(BITMAP* bitmap, uint16_t value, bool matching)
{
    std::array<int, 4> box = {1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < bitmap->h; ++y)
        for (int x = 0; x < bitmap->w; ++x)
            if ((PixelAt(bitmap, x, y) == value) == matching)
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                       std::max(box[3], y)};
    return box;
}
