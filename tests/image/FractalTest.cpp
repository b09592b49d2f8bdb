#include "image/Fractal.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {
int Pack(int r, int g, int b) { return makecol(r, g, b); }

TEST(FractalColours, RedToYellowAndBackForPaletteZero)
{
    int colours[FRACTAL_MOST_ITERATIONS + 1];
    FillFractalColours(colours, 100, 0);
    EXPECT_EQ(colours[0], Pack(255, 0, 0));
    EXPECT_EQ(colours[49], Pack(255, 249, 0));
    EXPECT_EQ(colours[50], Pack(255, 255, 0));
    EXPECT_EQ(colours[99], Pack(255, 6, 0));
    EXPECT_EQ(colours[100], colours[0]);
}

TEST(FractalColours, DarkRedToBlueAndBackForOtherPalettes)
{
    int colours[FRACTAL_MOST_ITERATIONS + 1];
    FillFractalColours(colours, 100, 1);
    EXPECT_EQ(colours[0], Pack(64, 0, 0));
    EXPECT_EQ(colours[49], Pack(64, 0, 249));
    EXPECT_EQ(colours[50], Pack(64, 0, 255));
    EXPECT_EQ(colours[99], Pack(64, 0, 6));
    EXPECT_EQ(colours[100], colours[0]);
}

TEST(FractalColours, OddAndTinyLimitsLeaveNoEntryUnwritten)
{
    int colours[FRACTAL_MOST_ITERATIONS + 1];
    for (int limit : {0, 1, 7, 199}) {
        std::fill(colours, colours + FRACTAL_MOST_ITERATIONS + 1, -1);
        FillFractalColours(colours, limit, 0);
        for (int n = 0; n <= limit; ++n)
            EXPECT_NE(colours[n], -1) << "limit " << limit << " count " << n;
    }
    FillFractalColours(colours, 7, 0);
    EXPECT_EQ(colours[6], colours[0]); // the count no ramp reaches
}

TEST(FractalIteration, EscapeCountsOfKnownPoints)
{
    EXPECT_EQ(EscapeCount(0, 0, 0, 100), 100); // the origin never escapes
    EXPECT_EQ(EscapeCount(0, 1, 1, 100), 1);   // z becomes (1, 3)
    EXPECT_EQ(EscapeCount(0, 2, 0, 100), 0);   // on the circle of radius 2: no step at all
    EXPECT_EQ(EscapeCount(1, -3, 0.5, 100), 0);
    EXPECT_EQ(EscapeCount(1, 0, 0, 100), 100);
    // (1, 1) folded with the point subtracted: z = (1 - 1 - 1, 2 - 1) = (-1, 1), then
    // (1 - 1 - 1, 2 - 1) again: a fixed orbit inside the circle.
    EXPECT_EQ(EscapeCount(1, 1, 1, 50), 50);
}

// Views for comparing the ways of painting: the game's own three, and others that reach
// both kinds, both palettes, odd limits and sizes that leave a partly filled vector block.
struct PathCase {
    const char* name;
    int width, height;
    FractalView view;
    int palette;
};

const PathCase PATH_CASES[] = {
    {"title backdrop", 800, 600, {1, 1.767, 0.036, 0.003, 0.0025, 100}, 1},
    {"upper band", 1024, 84, {0, -0.8235, -0.1839, 0.0366, 0.003, 90}, 0},
    {"lower band", 1024, 84, {0, -0.8235, -0.1809, 0.0366, 0.003, 90}, 0},
    {"whole Mandelbrot set, odd size", 203, 151, {0, -2.2, -1.3, 3.1, 2.6, 200}, 1},
    {"whole ship, odd size", 97, 61, {1, -2.5, -2.1, 4.4, 4.0, 60}, 0},
    {"seahorse valley, odd limit", 131, 45, {0, -0.76, 0.08, 0.02, 0.02, 77}, 0},
    {"one column", 1, 33, {0, -1.5, -1.0, 2.0, 2.0, 50}, 1},
    {"narrower than a block", 5, 7, {1, 1.7, 0.0, 0.1, 0.1, 40}, 1},
};

BITMAP* Painted(const PathCase& with, FractalPath path)
{
    BITMAP* picture = create_bitmap_ex(16, with.width, with.height);
    PaintFractal(picture, with.view, with.palette, path);
    return picture;
}

int DistinctColours(BITMAP* picture)
{
    std::set<uint16_t> seen;
    for (int y = 0; y < picture->h; ++y)
        for (int x = 0; x < picture->w; ++x)
            seen.insert(PixelAt(picture, x, y));
    return static_cast<int>(seen.size());
}

// Every pixel of the two pictures, reporting the first few that differ.
void ExpectSamePixels(BITMAP* expected, BITMAP* actual, const char* name)
{
    int differences = 0;
    for (int y = 0; y < expected->h; ++y)
        for (int x = 0; x < expected->w; ++x)
            if (PixelAt(expected, x, y) != PixelAt(actual, x, y) && ++differences <= 5)
                ADD_FAILURE() << name << ": pixel " << x << "," << y << " is "
                              << PixelAt(actual, x, y) << ", not " << PixelAt(expected, x, y);
    EXPECT_EQ(differences, 0) << name;
}

void ExpectPathPaintsAsPlain(FractalPath path)
{
    for (const PathCase& with : PATH_CASES) {
        BITMAP* plain = Painted(with, FractalPath::PLAIN);
        BITMAP* fast = Painted(with, path);
        ExpectSamePixels(plain, fast, with.name);
        destroy_bitmap(fast);
        destroy_bitmap(plain);
    }
}

TEST(FractalPaths, TheGameViewsAreNotFlat)
{
    for (int i = 0; i < 3; ++i) {
        BITMAP* picture = Painted(PATH_CASES[i], FractalPath::PLAIN);
        EXPECT_GT(DistinctColours(picture), 20) << PATH_CASES[i].name;
        destroy_bitmap(picture);
    }
}

const FractalPath VECTOR_PATHS[] = {FractalPath::SSE2, FractalPath::AVX2, FractalPath::AVX512};

TEST(FractalPaths, Sse2PaintsTheSamePixelsAsPlain)
{
    if (!FractalPathAvailable(FractalPath::SSE2))
        GTEST_SKIP() << "no SSE2 on this CPU";
    ExpectPathPaintsAsPlain(FractalPath::SSE2);
}

TEST(FractalPaths, Avx2PaintsTheSamePixelsAsPlain)
{
    if (!FractalPathAvailable(FractalPath::AVX2))
        GTEST_SKIP() << "no AVX2 on this CPU";
    ExpectPathPaintsAsPlain(FractalPath::AVX2);
}

TEST(FractalPaths, Avx512PaintsTheSamePixelsAsPlain)
{
    if (!FractalPathAvailable(FractalPath::AVX512))
        GTEST_SKIP() << "no AVX-512 on this CPU";
    ExpectPathPaintsAsPlain(FractalPath::AVX512);
}

TEST(FractalPaths, EveryVectorPathPaintsTheSamePixelsAsSse2)
{
    for (FractalPath path : VECTOR_PATHS) {
        if (path == FractalPath::SSE2 || !FractalPathAvailable(path))
            continue;
        for (const PathCase& with : PATH_CASES) {
            BITMAP* narrow = Painted(with, FractalPath::SSE2);
            BITMAP* wide = Painted(with, path);
            ExpectSamePixels(narrow, wide, with.name);
            destroy_bitmap(wide);
            destroy_bitmap(narrow);
        }
    }
}

TEST(FractalPaths, TheGeneratorTakesTheWidestUnitAvailable)
{
    FractalPath widest = FractalPath::PLAIN;
    for (FractalPath path : VECTOR_PATHS)
        if (FractalPathAvailable(path))
            widest = path;
    EXPECT_EQ(FastestFractalPath(), widest);
}

TEST(FractalPaths, AnUnavailablePathFallsBackToPlain)
{
    for (FractalPath path : VECTOR_PATHS) {
        if (FractalPathAvailable(path))
            continue;
        const PathCase& with = PATH_CASES[3];
        BITMAP* plain = Painted(with, FractalPath::PLAIN);
        BITMAP* asked = Painted(with, path);
        ExpectSamePixels(plain, asked, with.name);
        destroy_bitmap(asked);
        destroy_bitmap(plain);
    }
}

TEST(FractalPaths, OtherDepthsArePaintedTheSameWay)
{
    // The vector paths write 16-bit rows; a 32-bit bitmap must still get every pixel.
    const PathCase& with = PATH_CASES[5];
    BITMAP* deep = create_bitmap_ex(32, with.width, with.height);
    PaintFractal(deep, with.view, with.palette, FastestFractalPath());
    BITMAP* plain = create_bitmap_ex(32, with.width, with.height);
    PaintFractal(plain, with.view, with.palette, FractalPath::PLAIN);
    for (int y = 0; y < with.height; ++y)
        for (int x = 0; x < with.width; ++x)
            ASSERT_EQ(getpixel(deep, x, y), getpixel(plain, x, y)) << x << "," << y;
    destroy_bitmap(plain);
    destroy_bitmap(deep);
}

class FractalImageTest : public testing::Test {
protected:
    HeadlessScreen screen;
};

// The title backdrop's rules, written out the plain way, one pixel at a time.
int PlainTitlePixel(int column, int row)
{
    const int width = 800, height = 600, limit = 100;
    const double re_min = 1.767, im_min = 0.036, re_span = 0.003, im_span = 0.0025;
    const double re = (column - width / 2) / (width / re_span) + (re_min + re_span / 2);
    const double im = (row - height / 2) / (height / im_span) + (im_min + im_span / 2);
    double zr = re, zi = im;
    int n = 0;
    while (n < limit && zr * zr + zi * zi < 4) {
        const double old_r = zr;
        zr = zr * zr - zi * zi - re;
        zi = 2 * std::fabs(old_r * zi) - im;
        ++n;
    }
    const int half = limit / 2;
    const double scale = 255 / (limit * 0.5);
    int blue;
    if (n == limit)
        blue = 0;
    else if (n < half)
        blue = std::min(255, static_cast<int>(n * scale));
    else
        blue = std::max(0, 255 - static_cast<int>((n - half) * scale));
    return Pack(64, 0, blue);
}

TEST_F(FractalImageTest, TitleBackdropMatchesAPlainComputation)
{
    cImage backdrop;
    backdrop.GenerateFractal(1, 800, 600, 1.767, 0.036, 0.003, 0.0025, 100, 1);
    ASSERT_TRUE(backdrop.loaded);
    EXPECT_EQ(backdrop.bitmap->w, 800);
    EXPECT_EQ(backdrop.bitmap->h, 600);
    EXPECT_EQ(backdrop.half_width, 400);
    EXPECT_EQ(backdrop.half_height, 300);
    int distinct_counts_seen = 0;
    for (int row = 0; row < 600; row += 37)
        for (int column = 0; column < 800; column += 53) {
            const int expected = PlainTitlePixel(column, row);
            ASSERT_EQ(PixelAt(backdrop.bitmap, column, row), expected)
                << "at " << column << "," << row;
            distinct_counts_seen += expected != Pack(64, 0, 0);
        }
    EXPECT_GT(distinct_counts_seen, 50); // the view is not one flat colour
    EXPECT_EQ(CountPixels(backdrop.bitmap, 0xF81F), 0);
}

TEST_F(FractalImageTest, LimitAboveTwoHundredActsAsTwoHundred)
{
    cImage capped, limited;
    capped.GenerateFractal(0, 40, 30, -0.8235, -0.1839, 0.0366, 0.003, 250, 0);
    limited.GenerateFractal(0, 40, 30, -0.8235, -0.1839, 0.0366, 0.003, 200, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(PixelAt(capped.bitmap, x, y), PixelAt(limited.bitmap, x, y));
}

TEST_F(FractalImageTest, RegeneratingReplacesTheBitmapAndEmptySizesLeaveNoImage)
{
    cImage image;
    image.GenerateFractal(0, 16, 8, -2, -1, 3, 2, 20, 0);
    image.GenerateFractal(0, 5, 3, -2, -1, 3, 2, 20, 0);
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.bitmap->w, 5);
    EXPECT_EQ(image.half_height, 1);
    image.GenerateFractal(0, 0, 10, -2, -1, 3, 2, 20, 0);
    EXPECT_FALSE(image.loaded);
    image.GenerateFractal(0, 10, -1, -2, -1, 3, 2, 20, 0);
    EXPECT_FALSE(image.loaded);
}
} // namespace
