#include "graphics/PresentChanges.h"

#include "graphics/WidenPixels.h"

#include <algorithm>
#include <cstring>

namespace {
const int BLOCK_COLUMNS = 32; // at least; a band holds at most 64 blocks, one bit each
const int MOST_BLOCKS = 64;

const uint16_t* Row(BITMAP* bitmap, int y) { return reinterpret_cast<uint16_t*>(bitmap->line[y]); }

bool Differ(const uint16_t* a, const uint16_t* b, int pixels)
{
    return std::memcmp(a, b, sizeof(uint16_t) * pixels) != 0;
}

// Writes the frame's w x h pixels at (x, y) to the target at (x, top + y). A 32-bit target
// gets them widened through staging, h rows at most, which stays in the cache: the library
// puts out the rectangle of one blit at a time, with one lock and one request to the display.
void WriteRectangle(BITMAP* frame, BITMAP* staging, BITMAP* target, int x, int y, int w, int h,
                    int top)
{
    if (bitmap_color_depth(target) != 32) {
        blit(frame, target, x, y, x, top + y, w, h);
        return;
    }
    for (int r = 0; r < h; ++r)
        WidenPixels(Row(frame, y + r) + x, reinterpret_cast<uint32_t*>(staging->line[r]), w);
    blit(staging, target, 0, 0, x, top + y, w, h);
}
} // namespace

bool CanPresentTo(BITMAP* target)
{
    const int depth = bitmap_color_depth(target);
    return depth == 16 ||
           (depth == 32 && _rgb_r_shift_32 == 16 && _rgb_g_shift_32 == 8 && _rgb_b_shift_32 == 0);
}

void PresentWhole(BITMAP* frame, BITMAP* staging, BITMAP* target, int width, int height, int top)
{
    for (int y = 0; y < height; y += STAGING_ROWS)
        WriteRectangle(frame, staging, target, 0, y, width, std::min(STAGING_ROWS, height - y), top);
}

void PresentChanges(BITMAP* frame, BITMAP* last, BITMAP* staging, BITMAP* target, int width,
                    int height, int top)
{
    const int block = std::max(BLOCK_COLUMNS, (width + MOST_BLOCKS - 1) / MOST_BLOCKS);
    const int blocks = (width + block - 1) / block;
    for (int band = 0; band < height; band += STAGING_ROWS) {
        uint64_t changed = 0; // bit b: block b differs in some row of the band
        int first_row = -1, last_row = -1;
        for (int y = band; y < std::min(height, band + STAGING_ROWS); ++y) {
            const uint16_t* now = Row(frame, y);
            const uint16_t* before = Row(last, y);
            if (!Differ(now, before, width))
                continue;
            if (first_row < 0)
                first_row = y;
            last_row = y;
            for (int b = 0; b < blocks; ++b) {
                const int x = b * block;
                if (!(changed >> b & 1) && Differ(now + x, before + x, std::min(block, width - x)))
                    changed |= uint64_t{1} << b;
            }
        }
        for (int b = 0; b < blocks;) {
            if (!(changed >> b & 1)) {
                ++b;
                continue;
            }
            const int run_start = b;
            while (b < blocks && (changed >> b & 1))
                ++b;
            const int x = run_start * block, w = std::min(b * block, width) - x;
            const int h = last_row - first_row + 1;
            WriteRectangle(frame, staging, target, x, first_row, w, h, top);
            blit(frame, last, x, first_row, x, first_row, w, h);
        }
    }
}
