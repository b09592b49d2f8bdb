#include "image/cImage.h"
#include "bitmap/Fractal.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <utility>

namespace {
const uint16_t MASK = 0xF81F;
const uint16_t RED = 0xF800;
const uint16_t BLUE = 0x001F;

BITMAP* Frame() { return cGraphics::double_buffer; }

// 7x5 samples of mask colour at (0, 0), yellow at (6, 4), green at (3, 2) and blue elsewhere.
const char* const SAMPLE_8 = "tests/image/pictures/allegro8.pcx";
const char* const SAMPLE_24 = "tests/image/pictures/allegro24.pcx";
const char* const BLEND = "tests/image/pictures/blend8.pcx"; // 45 x 30

// Every way of drawing puts the placeholder's top-left corner on the point, whatever the mask,
// for an image that holds no picture.
TEST(Image, LoadsCentresReplacesAndUnloadsAndDrawsThePlaceholderWithoutAPicture)
{
    HeadlessScreen screen;
    cImage empty, missing("media/no-such-picture.pcx");
    for (cImage* image : {&empty, &missing}) {
        clear_bitmap(Frame());
        EXPECT_FALSE(image->loaded);
        image->Draw(10, 20);
        image->DrawCentred(100, 200);
        image->AndMaskDraw(300, 20, 0);
        image->OrMaskDraw(400, 200, -1);
        const int size = HeadlessScreen::PLACEHOLDER_SIZE;
        EXPECT_EQ(CountPixels(Frame(), HeadlessScreen::PLACEHOLDER), 4 * size * size);
        for (auto [x, y] : {std::pair{10, 20}, {100, 200}, {300, 20}, {400, 200}}) {
            EXPECT_EQ(PixelAt(Frame(), x, y), HeadlessScreen::PLACEHOLDER) << x;
            EXPECT_EQ(PixelAt(Frame(), x + size - 1, y + size - 1), HeadlessScreen::PLACEHOLDER);
        }
    }

    clear_bitmap(Frame());
    cImage image(BLEND);
    image.Load(SAMPLE_8); // the first picture is released first
    ASSERT_TRUE(image.loaded);
    image.DrawCentred(100, 100); // odd sizes centre on the smaller half: (97, 98) to (103, 102)
    EXPECT_EQ(PixelAt(Frame(), 100, 100), 0x07E0);
    EXPECT_EQ(PixelAt(Frame(), 103, 102), 0xFFE0);
    EXPECT_EQ(PixelAt(Frame(), 97, 98), 0);
    EXPECT_EQ(CountPixels(Frame(), BLUE), 7 * 5 - 3);
    image.Unload();
    EXPECT_FALSE(image.loaded);
    image.Unload(); // nothing left to release; the destructor releases nothing either
    image.Load(BLEND);
    EXPECT_EQ(image.bitmap->w, 45);
    image.Load("/nonexistent/picture.pcx");
    EXPECT_FALSE(image.loaded);

    // A picture put in through the fields after Unload is drawn by its own shape.
    image.Load(SAMPLE_24);
    Paint(&image, 4, 1, MASK); // unloads, then fills the fields
    SetPixel(Frame(), 3, 0, RED);
    image.Draw(0, 0);
    EXPECT_EQ(PixelAt(Frame(), 3, 0), RED);
}

// Random frames; pictures with transparent runs of every length, whole transparent rows and
// columns, and opaque pixels a bit away from the mask colour; places past every edge. Each
// way of drawing is held to the pixels worked out one by one: a plain draw clips to the
// buffer as draw_sprite does, a stencil to the play area.
TEST(Image, EveryWayOfDrawingGivesThePixelsWorkedOutOneByOne)
{
    std::mt19937 random(7);
    for (int width : {800, 1024}) {
        HeadlessScreen screen(width, 600);
        BITMAP* frame = Frame();
        BITMAP* expected = create_bitmap_ex(16, frame->w, frame->h);
        for (int round = 0; round < 40; ++round) {
            for (int y = 0; y < frame->h; ++y)
                for (int x = 0; x < frame->w; ++x)
                    SetPixel(frame, x, y, static_cast<uint16_t>(random()));
            const int w = 1 + random() % 150, h = 1 + random() % 120;
            const int clear_row = random() % h, clear_column = random() % w;
            cImage image;
            Paint(&image, w, h, 0);
            bool opaque = random() % 2;
            for (int v = 0; v < h; ++v)
                for (int u = 0; u < w; ++u) {
                    opaque ^= random() % 7 == 0;
                    uint16_t pixel = static_cast<uint16_t>(random());
                    if (random() % 5 == 0)
                        pixel = MASK ^ (1u << (random() % 16));
                    const bool clear = !opaque || v == clear_row || u == clear_column;
                    SetPixel(image.bitmap, u, v, clear ? MASK : (pixel == MASK ? 0 : pixel));
                }
            const int x = static_cast<int>(random() % (width + 2 * w)) - w - w / 2;
            const int y = static_cast<int>(random() % (600 + 2 * h)) - h - h / 2;
            const uint16_t mask = static_cast<uint16_t>(random());
            const int way = round % 4; // Draw, DrawCentred, AndMaskDraw, OrMaskDraw
            const int left = way == 1 ? x - w / 2 : x, top = way == 1 ? y - h / 2 : y;
            blit(frame, expected, 0, 0, 0, 0, frame->w, frame->h);
            for (int fy = std::max(top, 0); fy < std::min(top + h, frame->h); ++fy)
                for (int fx = std::max(left, 0); fx < std::min(left + w, frame->w); ++fx) {
                    const uint16_t over = PixelAt(image.bitmap, fx - left, fy - top);
                    const uint16_t under = PixelAt(frame, fx, fy);
                    if (over == MASK || (way >= 2 && (fx >= width || fy >= 600)))
                        continue;
                    SetPixel(expected, fx, fy,
                             way < 2    ? over
                             : way == 2 ? under & mask
                                        : under | mask);
                }
            way == 0   ? image.Draw(x, y)
            : way == 1 ? image.DrawCentred(x, y)
            : way == 2 ? image.AndMaskDraw(x, y, mask)
                       : image.OrMaskDraw(x, y, mask);
            EXPECT_EQ(DifferingPixels(expected, frame), 0)
                << "way " << way << ", " << w << "x" << h << " at " << x << "," << y;
        }
        destroy_bitmap(expected);
    }
}

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
            EXPECT_EQ(DifferingPixels(plain, fast), 0)
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
    EXPECT_EQ(DifferingPixels(plain, image.bitmap), 0);
    destroy_bitmap(plain);
    image.GenerateFractal(0, 0, 10, -2, -1, 3, 2, 20, 0);
    EXPECT_FALSE(image.loaded);
}
} // namespace
