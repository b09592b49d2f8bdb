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
    int width = 800, height = 600;
    BITMAP* frame = nullptr;
    BITMAP* last = nullptr;
    BITMAP* target = nullptr;
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
        rectfill(frame, x, y, x + w - 1, y + h - 1, random() % 0xABCD);
    }
};

TEST_F(PresentChangesTest, TheScreenShowsEveryFrameExactly)
{
    for (int round = 0; round < 30; ++round) {
        const int rectangles = round % 5 == 0 ? 0 : 1 + random() % 40;
        for (int i = 0; i < rectangles; ++i)
            PaintRandomRectangle(round % 3 == 0 ? 4 : 120);
        if (round % 7 == 3)
            clear_to_color(frame, random() % 0xABCD); // a frame that changes everywhere
        SetPixel(frame, random() % width, random() % height, random() % 0xABCD);
        Present();
        ASSERT_EQ(Disagreeing(), 0) << "round " << round;
    }
}

TEST_F(PresentChangesTest, OnlyBlocksThatChangedAreWritten)
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
    EXPECT_EQ(PixelAt(target, 160, TOP + 202), UNWRITTEN) << "between the two blocks";
}

TEST_F(PresentChangesTest, NothingOutsideThePlayAreaIsWritten)
{
    clear_to_color(target, UNWRITTEN);
    clear_to_color(frame, 0x0F0F); // the extra column and row change too
    Present();
    EXPECT_EQ(Disagreeing(), 0);
    for (int y = 0; y < target->h; ++y)
        EXPECT_EQ(PixelAt(target, width, y), UNWRITTEN) << y;
    for (int x = 0; x < target->w; ++x) {
        EXPECT_EQ(PixelAt(target, x, TOP - 1), UNWRITTEN) << x;
        EXPECT_EQ(PixelAt(target, x, TOP + height), UNWRITTEN) << x;
    }
}

TEST_F(PresentChangesTest, OddSizesAndFramesWiderThanSixtyFourBlocks)
{
    const struct {
        int width, height;
    } sizes[] = {{1030, 37}, {3001, 20}, {5, 3}};
    for (const auto& size : sizes) {
        TearDown();
        Open(size.width, size.height);
        for (int round = 0; round < 6; ++round) {
            for (int i = 0; i < 10; ++i)
                PaintRandomRectangle(50);
            SetPixel(frame, width - 1, height - 1, round + 1); // the last block and row
            Present();
            ASSERT_EQ(Disagreeing(), 0) << width << "x" << height << " round " << round;
        }
    }
}
} // namespace
