#include "graphics/PresentChanges.h"

#include "support/Headless.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const uint16_t UNWRITTEN = 0xABCD; // never drawn into a frame below
const int TOP = 84;

// A frame with its never-presented column and row, the copy of what was last presented,
// and a taller target that stands for the screen, its play area starting at row TOP.
struct Presenting {
    int width, height;
    BITMAP* frame = SolidBitmap(width + 1, height + 1, 0);
    BITMAP* last = SolidBitmap(width, height, 0);
    BITMAP* target = SolidBitmap(width + 1, height + 2 * TOP, 0);
    ~Presenting()
    {
        destroy_bitmap(target);
        destroy_bitmap(last);
        destroy_bitmap(frame);
    }

    void Present() { PresentChanges(frame, last, target, width, height, TOP); }

    // Pixels of the play area where the target or last disagree with the frame.
    int Disagreeing()
    {
        int count = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                count += (PixelAt(target, x, TOP + y) != PixelAt(frame, x, y)) +
                         (PixelAt(last, x, y) != PixelAt(frame, x, y));
        return count;
    }
};

TEST(PresentChanges, OnlyChangedBlocksAndNothingOutsideThePlayAreaAreWritten)
{
    Presenting screen{800, 600};
    BITMAP* target = screen.target;
    clear_to_color(target, UNWRITTEN);
    screen.Present(); // nothing changed: nothing at all is written
    EXPECT_EQ(CountPixels(target, UNWRITTEN), target->w * target->h);

    SetPixel(screen.frame, 100, 200, 0x1234); // block 3 of the band of rows 192 to 207
    SetPixel(screen.frame, 700, 205, 0x4321); // block 21 of the same band
    screen.Present();
    EXPECT_EQ(PixelAt(target, 100, TOP + 200), 0x1234);
    EXPECT_EQ(PixelAt(target, 700, TOP + 205), 0x4321);
    const int written = target->w * target->h - CountPixels(target, UNWRITTEN);
    EXPECT_EQ(written, 2 * 32 * 6) << "two blocks, rows 200 to 205";

    clear_to_color(screen.frame, 0x0F0F); // the extra column and row change too
    screen.Present();
    EXPECT_EQ(screen.Disagreeing(), 0);
    EXPECT_EQ(CountPixels(target, UNWRITTEN), target->w * target->h - 800 * 600);
}

// Random rectangles, single pixels and whole-frame changes; sizes that leave a partial last
// block and frames wider than 64 blocks.
TEST(PresentChanges, TheScreenShowsEveryFrameExactly)
{
    std::mt19937 random(5);
    const int sizes[][3] = {{800, 600, 30}, {1030, 37, 6}, {3001, 20, 6}, {5, 3, 6}};
    for (const auto& [width, height, rounds] : sizes) {
        Presenting screen{width, height};
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
} // namespace
