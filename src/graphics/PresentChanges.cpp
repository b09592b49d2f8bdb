#include "graphics/PresentChanges.h"

#include "graphics/cScaler.h"
#include "platform/ScreenRows.h"

#include <algorithm>
#include <cstring>

namespace {
const int BAND_ROWS = 16;     // at most 32: a band's changed rows are kept as bits
const int BLOCK_COLUMNS = 32; // at least; a band holds at most 64 blocks, one bit each
const int MOST_BLOCKS = 64;

uint16_t* Row(BITMAP* bitmap, int y) { return reinterpret_cast<uint16_t*>(bitmap->line[y]); }

bool Differ(const uint16_t* a, const uint16_t* b, int pixels)
{
    return std::memcmp(a, b, sizeof(uint16_t) * pixels) != 0;
}

void MarkWritten(cScreenRows& rows, const Placement& covered)
{
    if (covered.width > 0 && covered.height > 0)
        rows.Written(covered.x, covered.y, covered.width, covered.height);
}
} // namespace

bool CanPresentTo(BITMAP* target)
{
    const int depth = bitmap_color_depth(target);
    return depth == 16 ||
           (depth == 32 && _rgb_r_shift_32 == 16 && _rgb_g_shift_32 == 8 && _rgb_b_shift_32 == 0);
}

void PresentWhole(BITMAP* frame, cScaler& scaler, BITMAP* target, int width, int height, int top)
{
    cScreenRows rows(target);
    bmp_select(target);
    for (int y = 0; y < height; ++y)
        scaler.WriteRun(Row(frame, y), top + y, 0, width, target);
    bmp_unwrite_line(target);
    MarkWritten(rows, scaler.Covered(0, top, width, height));
}

int PresentChanges(BITMAP* frame, BITMAP* last, cScaler& scaler, BITMAP* target, int width,
                   int height, int top)
{
    const int block = std::max(BLOCK_COLUMNS, (width + MOST_BLOCKS - 1) / MOST_BLOCKS);
    const int blocks = (width + block - 1) / block;
    cScreenRows screen_rows(target);
    int written = 0;
    bmp_select(target);
    for (int band = 0; band < height; band += BAND_ROWS) {
        const int rows = std::min(BAND_ROWS, height - band);
        uint64_t changed = 0;      // bit b: block b differs in some row of the band
        unsigned changed_rows = 0; // bit r: row band + r differs
        for (int r = 0; r < rows; ++r) {
            const uint16_t* now = Row(frame, band + r);
            const uint16_t* before = Row(last, band + r);
            if (!Differ(now, before, width))
                continue;
            changed_rows |= 1u << r;
            for (int b = 0; b < blocks; ++b) {
                const int x = b * block;
                if (!(changed >> b & 1) && Differ(now + x, before + x, std::min(block, width - x)))
                    changed |= uint64_t{1} << b;
            }
        }
        if (!changed_rows)
            continue;
        for (int r = 0; r < rows; ++r) {
            if (!(changed_rows >> r & 1))
                continue;
            const uint16_t* now = Row(frame, band + r);
            uint16_t* before = Row(last, band + r);
            for (int b = 0; b < blocks;) {
                if (!(changed >> b & 1)) {
                    ++b;
                    continue;
                }
                const int run_start = b;
                while (b < blocks && (changed >> b & 1))
                    ++b;
                const int x = run_start * block, w = std::min(b * block, width) - x;
                scaler.WriteRun(now, top + band + r, x, w, target);
                std::memcpy(before + x, now + x, sizeof(uint16_t) * w);
                written += w;
            }
        }
        const int first_row = __builtin_ctz(changed_rows),
                  end_row = 32 - __builtin_clz(changed_rows);
        const int first_block = __builtin_ctzll(changed), end_block = 64 - __builtin_clzll(changed);
        const int x = first_block * block;
        MarkWritten(screen_rows,
                    scaler.Covered(x, top + band + first_row,
                                   std::min(end_block * block, width) - x, end_row - first_row));
    }
    bmp_unwrite_line(target);
    return written;
}
