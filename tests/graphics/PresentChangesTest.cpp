#include "graphics/PresentChanges.h"

#include "support/Headless.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const uint16_t UNWRITTEN = 0xABCD; // never drawn into a frame below

// A frame, the copy of what was last presented, and a taller target that stands for the
// screen, its play area starting at row TOP.
class PresentChangesTest : public testing::Test {
protected:
    static const int TOP = 84;
    int width, height;
    BITMAP *frame, *last, *target;
    std::mt19937 random{5};

    void Open(int w, int h)
    {
        width = w;
        height = h;
        frame = SolidBitmap(w + 1, h + 1, 0); // with the never-presented column and row
        last = SolidBitmap(w, h, 0);
        target = SolidBitmap(w + 1, h + 2 * TOP, 0);
    }
    void SetUp() override { Open(800, 600); }
    void TearDown() override
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

    void PaintRandomRectangle(int most_size)
    {
        const int w = 1 + random() % most_size, h = 1 + random() % most_size;
        const int x = random() % width, y = random() % height;
        rectfill(frame, x, y, x + w - 1, y + h - 1, random() % UNWRITTEN);
    }
};

TEST_F(PresentChangesTest, OnlyChangedBlocksAndNothingOutsideThePlayAreaAreWritten)
{
    clear_to_color(target, UNWRITTEN);
    Present(); // nothing changed: nothing at all is written
    EXPECT_EQ(CountPixels(target, UNWRITTEN), target->w * target->h);

    SetPixel(frame, 100, 200, 0x1234); // block 3 of the band of rows 192 to 207
    SetPixel(frame, 700, 205, 0x4321); // block 21 of the same band
    Present();
    EXPECT_EQ(PixelAt(target, 100, TOP + 200), 0x1234);
    EXPECT_EQ(PixelAt(target, 700, TOP + 205), 0x4321);
    const int written = target->w * target->h - CountPixels(target, UNWRITTEN);
    EXPECT_EQ(written, 2 * 32 * 6) << "two blocks, rows 200 to 205";

    clear_to_color(frame, 0x0F0F); // the extra column and row change too
    Present();
    EXPECT_EQ(Disagreeing(), 0);
    EXPECT_EQ(CountPixels(target, UNWRITTEN), target->w * target->h - width * height);
}

// Random rectangles, single pixels and whole-frame changes; sizes that leave a partial last
// block and frames wider than 64 blocks.
TEST_F(PresentChangesTest, TheScreenShowsEveryFrameExactly)
{
    const struct {
        int width, height, rounds;
    } sizes[] = {{800, 600, 30}, {1030, 37, 6}, {3001, 20, 6}, {5, 3, 6}};
    for (const auto& size : sizes) {
        TearDown();
        Open(size.width, size.height);
        for (int round = 0; round < size.rounds; ++round) {
            const int rectangles = round % 5 == 0 ? 0 : 1 + random() % 40;
            for (int i = 0; i < rectangles; ++i)
                PaintRandomRectangle(round % 3 == 0 ? 4 : 120);
            if (round % 7 == 3)
                clear_to_color(frame, random() % UNWRITTEN);   // changes everywhere
            SetPixel(frame, width - 1, height - 1, round + 1); // the last block and row
            SetPixel(frame, random() % width, random() % height, random() % UNWRITTEN);
            Present();
            ASSERT_EQ(Disagreeing(), 0) << width << "x" << height << " round " << round;
        }
    }
}
} // namespace
