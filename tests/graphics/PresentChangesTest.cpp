#include "graphics/PresentChanges.h"
#include "graphics/WidenPixels.h"
#include "graphics/cScaler.h"

#include "support/Headless.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {
const uint16_t UNWRITTEN = 0xABCD; // never drawn into a frame below, nor any widened pixel
const int TOP = 84;

// The 8-bit levels a 24-bit display shows for each 5-bit and 6-bit level of a 16-bit screen,
// read off the library's own conversion: screenshots of every 16-bit value under Xvfb.
const uint32_t FIVE_BIT_LEVELS[32] = {0,   8,   16,  24,  33,  41,  49,  57,  66,  74,  82,
                                      90,  99,  107, 115, 123, 132, 140, 148, 156, 165, 173,
                                      181, 189, 198, 206, 214, 222, 231, 239, 247, 255};
const uint32_t SIX_BIT_LEVELS[64] = {
    0,   4,   8,   12,  16,  20,  24,  29,  32,  36,  40,  44,  48,  52,  56,  61,
    64,  68,  72,  76,  80,  84,  88,  93,  97,  101, 105, 109, 113, 117, 121, 126,
    129, 133, 137, 141, 145, 149, 153, 158, 162, 166, 170, 174, 178, 182, 186, 191,
    194, 198, 202, 206, 210, 214, 218, 223, 226, 230, 234, 238, 242, 246, 250, 255};

uint32_t Widened(uint16_t pixel)
{
    return FIVE_BIT_LEVELS[pixel >> 11] << 16 | SIX_BIT_LEVELS[pixel >> 5 & 63] << 8 |
           FIVE_BIT_LEVELS[pixel & 31];
}

TEST(WidenPixels, GivesTheLibrarysLevelsForEveryValueAtAnyLengthAndPlace)
{
    std::vector<uint16_t> all(65536);
    for (int i = 0; i < 65536; ++i)
        all[i] = static_cast<uint16_t>(i);
    // Every start within 32 bytes: rows that start aligned are stored another way.
    std::vector<uint32_t> wide(65536 + 9, 0xDEADBEEF);
    for (int start = 0; start < 8; ++start) {
        WidenPixels(all.data(), wide.data() + start, 65536);
        for (int i = 0; i < 65536; ++i)
            ASSERT_EQ(wide[start + i], Widened(all[i])) << std::hex << i << " from " << start;
        EXPECT_EQ(wide[start + 65536], 0xDEADBEEF) << "written past the end";
    }

    // Short and odd lengths at every alignment: the vector part and the pixels after it.
    std::mt19937 random(7);
    for (int start = 0; start < 65536;) {
        const int length = std::min(65536 - start, int(random() % 40));
        std::fill(wide.begin(), wide.end(), 0xDEADBEEF);
        WidenPixels(all.data() + start, wide.data() + 1, length);
        ASSERT_EQ(wide[0], 0xDEADBEEF);
        for (int i = 0; i < length; ++i)
            ASSERT_EQ(wide[1 + i], Widened(all[start + i])) << std::hex << start + i;
        ASSERT_EQ(wide[1 + length], 0xDEADBEEF) << "length " << length;
        start += length;
    }
}

// A frame with its never-presented column and row, the copy of what was last presented,
// and a taller target of the given depth that stands for the screen, showing the picture
// at its own size with the play area starting at row TOP.
struct Presenting {
    int width, height, depth;
    BITMAP* frame = SolidBitmap(width + 1, height + 1, 0);
    BITMAP* last = SolidBitmap(width, height, 0);
    BITMAP* target = create_bitmap_ex(depth, width + 1, height + 2 * TOP);
    cScaler scaler{width, height + 2 * TOP, {0, 0, width, height + 2 * TOP}};
    Presenting(int w, int h, int d) : width(w), height(h), depth(d)
    {
        clear_to_color(target, UNWRITTEN);
    }
    ~Presenting()
    {
        destroy_bitmap(target);
        destroy_bitmap(last);
        destroy_bitmap(frame);
    }

    int Present() { return PresentChanges(frame, last, scaler, target, width, height, TOP); }

    uint32_t Shown(int x, int y) const
    {
        return depth == 16 ? PixelAt(target, x, y)
                           : reinterpret_cast<uint32_t*>(target->line[y])[x];
    }
    uint32_t Expected(int x, int y) const
    {
        const uint16_t pixel = PixelAt(frame, x, y);
        return depth == 16 ? pixel : Widened(pixel);
    }

    int Written() const
    {
        int count = 0;
        for (int y = 0; y < target->h; ++y)
            for (int x = 0; x < target->w; ++x)
                count += Shown(x, y) != UNWRITTEN;
        return count;
    }

    // Pixels of the play area where the target or last disagree with the frame.
    int Disagreeing() const
    {
        int count = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                count += (Shown(x, TOP + y) != Expected(x, y)) +
                         (PixelAt(last, x, y) != PixelAt(frame, x, y));
        return count;
    }
};

class PresentChangesAtDepth : public testing::TestWithParam<int> {};

TEST_P(PresentChangesAtDepth, OnlyChangedRowsOfChangedBlocksAndNothingOutsideThePlayArea)
{
    Presenting screen{800, 600, GetParam()};
    EXPECT_EQ(screen.Present(), 0); // nothing changed: nothing at all is written
    EXPECT_EQ(screen.Written(), 0);

    SetPixel(screen.frame, 100, 200, 0x1234); // block 3 of the band of rows 192 to 207
    SetPixel(screen.frame, 700, 205, 0x4321); // block 21 of the same band
    EXPECT_EQ(screen.Present(), 2 * 32 * 2);
    EXPECT_EQ(screen.Shown(100, TOP + 200), screen.Expected(100, 200));
    EXPECT_EQ(screen.Shown(700, TOP + 205), screen.Expected(700, 205));
    EXPECT_EQ(screen.Written(), 2 * 32 * 2) << "two blocks, rows 200 and 205";

    clear_to_color(screen.frame, 0x0F0F); // the extra column and row change too
    EXPECT_EQ(screen.Present(), 800 * 600);
    EXPECT_EQ(screen.Disagreeing(), 0);
    EXPECT_EQ(screen.Written(), 800 * 600);
}

// A whole frame first, to the play area only; then random rectangles, single pixels and
// whole-frame changes. Sizes that leave a partial last block and frames wider than 64 blocks.
TEST_P(PresentChangesAtDepth, TheScreenShowsEveryFrameExactly)
{
    std::mt19937 random(5);
    const int sizes[][3] = {{800, 600, 30}, {1030, 37, 6}, {3001, 20, 6}, {5, 3, 6}};
    for (const auto& [width, height, rounds] : sizes) {
        Presenting screen{width, height, GetParam()};
        for (int y = 0; y <= height; ++y)
            for (int x = 0; x <= width; ++x)
                SetPixel(screen.frame, x, y, random() % UNWRITTEN);
        blit(screen.frame, screen.last, 0, 0, 0, 0, width, height);
        PresentWhole(screen.frame, screen.scaler, screen.target, width, height, TOP);
        ASSERT_EQ(screen.Disagreeing(), 0) << width << "x" << height << " whole";
        ASSERT_EQ(screen.Written(), width * height);
        for (int round = 0; round < rounds; ++round) {
            const int rectangles = round % 5 == 0 ? 0 : 1 + random() % 40;
            const int most_size = round % 3 == 0 ? 4 : 120;
            for (int i = 0; i < rectangles; ++i) {
                const int w = 1 + random() % most_size, h = 1 + random() % most_size;
                const int x = random() % width, y = random() % height;
                rectfill(screen.frame, x, y, x + w - 1, y + h - 1, random() % UNWRITTEN);
            }
            if (round % 7 == 3)
                clear_to_color(screen.frame, random() % UNWRITTEN);   // changes everywhere
            SetPixel(screen.frame, width - 1, height - 1, round + 1); // the last block and row
            SetPixel(screen.frame, random() % width, random() % height, random() % UNWRITTEN);
            screen.Present();
            ASSERT_EQ(screen.Disagreeing(), 0) << width << "x" << height << " round " << round;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, PresentChangesAtDepth, testing::Values(16, 32));

TEST(PresentChanges, WritesTo16BitAndToRedOnTop32BitScreensOnly)
{
    BITMAP* const bitmaps[] = {create_bitmap_ex(16, 4, 4), create_bitmap_ex(24, 4, 4),
                               create_bitmap_ex(32, 4, 4)};
    EXPECT_TRUE(CanPresentTo(bitmaps[0]));
    EXPECT_FALSE(CanPresentTo(bitmaps[1]));
    const int red_shift = _rgb_r_shift_32, blue_shift = _rgb_b_shift_32;
    _rgb_r_shift_32 = 16;
    _rgb_b_shift_32 = 0;
    EXPECT_TRUE(CanPresentTo(bitmaps[2]));
    std::swap(_rgb_r_shift_32, _rgb_b_shift_32);
    EXPECT_FALSE(CanPresentTo(bitmaps[2])) << "blue on top";
    _rgb_r_shift_32 = red_shift;
    _rgb_b_shift_32 = blue_shift;
    for (BITMAP* bitmap : bitmaps)
        destroy_bitmap(bitmap);
}
} // namespace
