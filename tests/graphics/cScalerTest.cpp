#include "graphics/PresentChanges.h"
#include "graphics/WidenPixels.h"
#include "graphics/cScaler.h"

#include "support/Headless.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const uint32_t UNWRITTEN = 0xABCD; // no widened pixel, nor any picture pixel below

struct Window {
    int width, height;
};

// A picture of random pixels presented whole to a window filled with UNWRITTEN, borders
// painted as when the window changes size.
struct ScaledWindow {
    int picture_width, picture_height, depth;
    Window window;
    BITMAP* picture = SolidBitmap(picture_width, picture_height, 0);
    BITMAP* target = create_bitmap_ex(depth, window.width, window.height);
    cScaler scaler{picture_width, picture_height,
                   FitPicture(picture_width, picture_height, window.width, window.height)};

    ScaledWindow(int w, int h, int d, Window win)
        : picture_width(w), picture_height(h), depth(d), window(win)
    {
        std::mt19937 random(w * 31 + win.width);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                SetPixel(picture, x, y, random() % UNWRITTEN);
        clear_to_color(target, UNWRITTEN);
        scaler.PaintBorders(target, window.width, window.height);
        PresentWhole(picture, scaler, target, w, h, 0);
    }
    ~ScaledWindow()
    {
        destroy_bitmap(target);
        destroy_bitmap(picture);
    }

    uint32_t Shown(int x, int y) const
    {
        return depth == 16 ? PixelAt(target, x, y) : reinterpret_cast<uint32_t*>(target->line[y])[x];
    }

    // The plain rule, pixel by pixel: the picture's pixel under each pixel of its placement,
    // black elsewhere.
    uint32_t Expected(int x, int y) const
    {
        const Placement& at = scaler.Where();
        if (x < at.x || y < at.y || x >= at.x + at.width || y >= at.y + at.height)
            return 0;
        const uint16_t pixel = PixelAt(picture, (x - at.x) * picture_width / at.width,
                                       (y - at.y) * picture_height / at.height);
        uint32_t wide;
        WidenPixels(&pixel, &wide, 1);
        return depth == 16 ? pixel : wide;
    }

    int Wrong() const
    {
        int wrong = 0;
        for (int y = 0; y < window.height; ++y)
            for (int x = 0; x < window.width; ++x)
                wrong += Shown(x, y) != Expected(x, y);
        return wrong;
    }
};

TEST(FitPicture, TheLargestSizeOfThePicturesShapeCentred)
{
    struct Case {
        int window_width, window_height;
        Placement expected;
    } cases[] = {
        {800, 600, {0, 0, 800, 600}},       {1600, 1200, {0, 0, 1600, 1200}},
        {1920, 1080, {240, 0, 1440, 1080}}, {3840, 2160, {480, 0, 2880, 2160}},
        {1000, 1000, {0, 125, 1000, 750}},  {640, 480, {0, 0, 640, 480}},
        {801, 601, {0, 0, 801, 600}},       {1, 1, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Placement got = FitPicture(800, 600, c.window_width, c.window_height);
        EXPECT_EQ(got.x, c.expected.x) << c.window_width << "x" << c.window_height;
        EXPECT_EQ(got.y, c.expected.y) << c.window_width << "x" << c.window_height;
        EXPECT_EQ(got.width, c.expected.width) << c.window_width << "x" << c.window_height;
        EXPECT_EQ(got.height, c.expected.height) << c.window_width << "x" << c.window_height;
    }
}

class ScaledAtDepth : public testing::TestWithParam<int> {};

// Whole multiples, the full screens of common monitors, smaller windows and odd shapes.
TEST_P(ScaledAtDepth, EveryPixelFollowsThePlainRuleAndTheBordersAreBlack)
{
    const Window windows[] = {{800, 600},  {1600, 1200}, {2400, 1800}, {1920, 1080}, {3840, 2160},
                              {1366, 768}, {640, 480},   {1001, 333},  {5, 1000},    {2, 2}};
    const int pictures[][2] = {{800, 600}, {1024, 768}};
    for (const auto& [width, height] : pictures)
        for (const Window& window : windows) {
            ScaledWindow scaled(width, height, GetParam(), window);
            EXPECT_EQ(scaled.Wrong(), 0) << width << "x" << height << " in " << window.width
                                         << "x" << window.height;
        }
}

// Changes present only what covers them: the pixels around a changed one keep the old
// picture, and the rectangle named for the display covers exactly what was written.
TEST_P(ScaledAtDepth, AChangedRectangleWritesWhatItCovers)
{
    ScaledWindow scaled(800, 600, GetParam(), {1920, 1080});
    BITMAP* last = create_bitmap_ex(16, 800, 600);
    blit(scaled.picture, last, 0, 0, 0, 0, 800, 600);
    rectfill(scaled.picture, 100, 200, 140, 230, 0x1234);
    PresentChanges(scaled.picture, last, scaled.scaler, scaled.target, 800, 600, 0);
    EXPECT_EQ(scaled.Wrong(), 0);
    const Placement covered = scaled.scaler.Covered(100, 200, 41, 31);
    EXPECT_EQ(covered.x, 240 + 180); // picture column 100 of 800 starts at 1.8 x 100
    EXPECT_EQ(covered.y, 360);
    EXPECT_EQ(covered.width, 74); // columns 180 to 253 show picture columns 100 to 140
    EXPECT_EQ(covered.height, 56);
    destroy_bitmap(last);
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyTwoBits, ScaledAtDepth, testing::Values(16, 32));
} // namespace
