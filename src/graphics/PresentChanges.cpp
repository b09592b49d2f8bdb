#include "graphics/PresentChanges.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
const int BAND_ROWS = 16;
const int BLOCK_COLUMNS = 32; // at least; a band holds at most 64 blocks, one bit each
const int MOST_BLOCKS = 64;

const uint16_t* Row(BITMAP* bitmap, int y) { return reinterpret_cast<uint16_t*>(bitmap->line[y]); }

bool Differ(const uint16_t* a, const uint16_t* b, int pixels)
{
    return std::memcmp(a, b, sizeof(uint16_t) * pixels) != 0;
}
} // namespace

void PresentChanges(BITMAP* frame, BITMAP* last, BITMAP* target, int width, int height, int top)
{
    const int block = std::max(BLOCK_COLUMNS, (width + MOST_BLOCKS - 1) / MOST_BLOCKS);
    const int blocks = (width + block - 1) / block;
    for (int band = 0; band < height; band += BAND_ROWS) {
        uint64_t changed = 0; // bit b: block b differs in some row of the band
        int first_row = -1, last_row = -1;
        for (int y = band; y < std::min(height, band + BAND_ROWS); ++y) {
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
            blit(frame, target, x, first_row, x, top + first_row, w, h);
            blit(frame, last, x, first_row, x, first_row, w, h);
        }
    }
}
