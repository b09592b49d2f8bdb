#include "bitmap/Fractal.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
// Palette 0 ramps green over full red, others blue over dark red. An odd or tiny limit
// leaves counts that no ramp reaches; they take the colour of count 0.
TEST(FractalColours, EachPaletteRampsUpOverHalfTheLimitAndBackDown)
{
    const int counts[] = {0, 49, 50, 53, 99, 100}, levels[] = {0, 249, 255, 240, 6, 0};
    int colours[FRACTAL_MOST_ITERATIONS + 1];
    for (int palette : {0, 1}) {
        FillFractalColours(colours, 100, palette);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(colours[counts[i]],
                      palette == 0 ? makecol(255, levels[i], 0) : makecol(64, 0, levels[i]))
                << "palette " << palette << " count " << counts[i];
    }
    for (int limit : {1, 199, 7}) {
        std::fill(colours, colours + FRACTAL_MOST_ITERATIONS + 1, -1);
        FillFractalColours(colours, limit, 0);
        for (int n = 0; n <= limit; ++n)
            EXPECT_NE(colours[n], -1) << "limit " << limit << " count " << n;
    }
    EXPECT_EQ(colours[6], colours[0]); // the count no ramp of limit 7 reaches
}

int Differences(BITMAP* expected, BITMAP* actual)
{
    int differences = 0;
    for (int y = 0; y < expected->h; ++y)
        for (int x = 0; x < expected->w; ++x)
            differences += getpixel(expected, x, y) != getpixel(actual, x, y);
    return differences;
}

// The game's own two views first, then others that reach both kinds, both palettes, odd
// limits, sizes that leave a partly filled vector block, and a depth the vector ways do not
// write. An unavailable path must fall back to the plain one, so every path is compared.
TEST(FractalPaths, EveryPathPaintsThePlainPixels)
{
    const struct {
        const char* name;
        int depth, width, height;
        FractalView view;
        int palette;
    } cases[] = {
        {"title backdrop", 16, 800, 600, {1, 1.767, 0.036, 0.003, 0.0025, 100}, 1},
        {"upper band", 16, 1024, 84, {0, -0.8235, -0.1839, 0.0366, 0.003, 90}, 0},
        {"whole Mandelbrot set, odd size", 16, 203, 151, {0, -2.2, -1.3, 3.1, 2.6, 200}, 1},
        {"whole ship, odd size", 16, 97, 61, {1, -2.5, -2.1, 4.4, 4.0, 60}, 0},
        {"seahorse valley, odd limit", 16, 131, 45, {0, -0.76, 0.08, 0.02, 0.02, 77}, 0},
        {"narrower than a block", 16, 5, 7, {1, 1.7, 0.0, 0.1, 0.1, 40}, 1},
        {"seahorse valley at 32 bits", 32, 131, 45, {0, -0.76, 0.08, 0.02, 0.02, 77}, 0},
    };
    for (const auto& with : cases) {
        BITMAP* plain = create_bitmap_ex(with.depth, with.width, with.height);
        PaintFractal(plain, with.view, with.palette, FractalPath::PLAIN);
        if (&with < cases + 2) { // else an empty picture would match anything
            std::set<int> colours;
            for (int y = 0; y < plain->h; ++y)
                for (int x = 0; x < plain->w; ++x)
                    colours.insert(getpixel(plain, x, y));
            EXPECT_GT(colours.size(), 20u) << with.name;
        }
        for (FractalPath path : {FractalPath::SSE2, FractalPath::AVX2, FractalPath::AVX512}) {
            BITMAP* fast = create_bitmap_ex(with.depth, with.width, with.height);
            PaintFractal(fast, with.view, with.palette, path);
            EXPECT_EQ(Differences(plain, fast), 0)
                << with.name << " by path " << static_cast<int>(path)
                << (FractalPathAvailable(path) ? "" : " (fallback)");
            destroy_bitmap(fast);
        }
        destroy_bitmap(plain);
    }
}

// The title backdrop's view with its palette swapped, so that no two arguments agree, and
// a limit that would index past the colour table unless held to 200.
TEST(FractalImage, GeneratesTheViewItIsGivenWithTheLimitHeldToTwoHundred)
{
    HeadlessScreen screen;
    cImage image;
    image.GenerateFractal(1, 200, 150, 1.767, 0.036, 0.003, 0.0025, 250, 0);
    ASSERT_TRUE(image.loaded);
    BITMAP* plain = create_bitmap_ex(16, 200, 150);
    PaintFractal(plain, {1, 1.767, 0.036, 0.003, 0.0025, 200}, 0, FractalPath::PLAIN);
    EXPECT_EQ(Differences(plain, image.bitmap), 0);
    destroy_bitmap(plain);
    image.GenerateFractal(0, 0, 10, -2, -1, 3, 2, 20, 0);
    EXPECT_FALSE(image.loaded);
}
} // namespace
