#include "bitmap/OpaqueRuns.h"

#include <cstdint>

OpaqueRuns* FindOpaqueRuns(BITMAP* picture)
{
    if (bitmap_color_depth(picture) != 16 || !is_memory_bitmap(picture))
        return nullptr;
    OpaqueRuns* shape = new OpaqueRuns{picture->w, picture->h, {}, {}};
    shape->first_run.reserve(picture->h + 1);
    for (int v = 0; v < picture->h; ++v) {
        shape->first_run.push_back(static_cast<int>(shape->runs.size()));
        const uint16_t* row = reinterpret_cast<const uint16_t*>(picture->line[v]);
        int u = 0;
        while (u < picture->w) {
            while (u < picture->w && row[u] == MASK_COLOR_16)
                ++u;
            const int start = u;
            while (u < picture->w && row[u] != MASK_COLOR_16)
                ++u;
            if (u > start)
                shape->runs.push_back({start, u});
        }
    }
    shape->first_run.push_back(static_cast<int>(shape->runs.size()));
    return shape;
}
