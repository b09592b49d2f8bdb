#include "graphics/Placeholder.h"

namespace {
const int PLACEHOLDER_SIZE = 32;
const int CHECK_SIZE = 8;
} // namespace

BITMAP* MakePlaceholderBitmap()
{
    BITMAP* picture = create_bitmap(PLACEHOLDER_SIZE, PLACEHOLDER_SIZE);
    if (!picture)
        return nullptr;
    const int red = makecol(255, 0, 0);
    const int yellow = makecol(255, 255, 0);
    for (int y = 0; y < PLACEHOLDER_SIZE; y += CHECK_SIZE)
        for (int x = 0; x < PLACEHOLDER_SIZE; x += CHECK_SIZE) {
            const bool odd = ((x + y) / CHECK_SIZE) % 2;
            rectfill(picture, x, y, x + CHECK_SIZE - 1, y + CHECK_SIZE - 1, odd ? yellow : red);
        }
    rect(picture, 0, 0, PLACEHOLDER_SIZE - 1, PLACEHOLDER_SIZE - 1, makecol(0, 0, 0));
    return picture;
}
