#include "city/StackedTile.h"

#include <algorithm>

BITMAP* StackStoreys(BITMAP* ground, BITMAP* storey, int storeys, int spacing)
{
    if (bitmap_color_depth(ground) != bitmap_color_depth(storey))
        return nullptr;
    const int top = spacing * storeys;
    const int width = std::max(ground->w, storey->w);
    // The lowest storey may reach further down than the tile itself.
    const int bottom = std::max(ground->h, storeys > 0 ? storey->h - spacing : 0);
    BITMAP* stack = create_bitmap_ex(bitmap_color_depth(ground), width, top + bottom);
    if (!stack)
        return nullptr;
    clear_to_color(stack, bitmap_mask_color(stack));
    // In the order the frame would get them: the tile, then the storeys upwards.
    draw_sprite(stack, ground, 0, top);
    for (int k = 1; k <= storeys; ++k)
        draw_sprite(stack, storey, 0, top - spacing * k);
    return stack;
}
