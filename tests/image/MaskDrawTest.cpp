#include "image/cImage.h"

#include "graphics/cGraphics.h"
#include "support/GuardedBuffer.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {
const uint16_t TRANSPARENT = 0xF81F;
const uint16_t WHITE = 0xFFFF;
const uint16_t SHADOW_MASK = 0x79EF;

BITMAP* Frame() { return cGraphics::double_buffer; }

class MaskDrawTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cImage image;
};

TEST_F(MaskDrawTest, OnlyTheShapeCountsNotItsColours)
{
    for (uint16_t colour : {0x0000, 0xFFFE}) {
        clear_to_color(Frame(), WHITE);
        Paint(&image, 16, 16, colour);
        SetPixel(image.bitmap, 5, 5, TRANSPARENT);
        image.AndMaskDraw(20, 30, SHADOW_MASK);
        EXPECT_EQ(16 * 16 - 1, CountPixels(Frame(), SHADOW_MASK)) << "stencil colour " << colour;
        EXPECT_EQ(WHITE, PixelAt(Frame(), 25, 35)) << "stencil colour " << colour;
    }
}

TEST_F(MaskDrawTest, ClipsAtEachEdgeOfThePlayAreaNotOfTheBuffer)
{
    const int w = cGraphics::SCR_WIDTH, h = cGraphics::SCR_HEIGHT, none = 1 << 30;
    // {x, y, image width, height, then the changed pixels' left, top, right, bottom, count};
    // column w and row h belong to the buffer but not to the play area.
    const int cases[][9] = {{-3, 5, 10, 10, 0, 5, 6, 14, 70},
                            {w - 4, 100, 10, 10, w - 4, 100, w - 1, 109, 40},
                            {50, -7, 10, 10, 50, 0, 59, 2, 30},
                            {50, h - 2, 10, 10, 50, h - 2, 59, h - 1, 20},
                            {-50, -50, w + 100, h + 100, 0, 0, w - 1, h - 1, w * h},
                            {w, 0, 10, 10, none, none, -1, -1, 0},
                            {0, h, 10, 10, none, none, -1, -1, 0}};
    GuardedBuffer guarded;
    for (const auto& c : cases) {
        clear_to_color(Frame(), WHITE);
        Paint(&image, c[2], c[3], 0x0001);
        image.AndMaskDraw(c[0], c[1], 0);
        EXPECT_EQ((std::array<int, 4>{c[4], c[5], c[6], c[7]}), BoxOf(Frame(), WHITE, false))
            << "image " << c[2] << "x" << c[3] << " at " << c[0] << "," << c[1];
        EXPECT_EQ(c[8], Frame()->w * Frame()->h - CountPixels(Frame(), WHITE));
    }
    EXPECT_EQ(0, guarded.StrayPixels());
}

// Only 16-bit pixels can take a 16-bit mask: a picture or a frame of another depth is left
// alone.
TEST_F(MaskDrawTest, BitmapsOfAnotherDepthAreLeftAlone)
{
    clear_to_color(Frame(), WHITE);
    image.Unload();
    image.bitmap = create_bitmap_ex(32, 10, 10);
    clear_to_color(image.bitmap, 0x00000001);
    image.loaded = true;
    image.AndMaskDraw(0, 0, 0);
    EXPECT_EQ(0, CountPixels(Frame(), 0x0000));

    Paint(&image, 10, 10, 0x0001);
    BITMAP* frame16 = cGraphics::double_buffer;
    cGraphics::double_buffer = create_bitmap_ex(32, frame16->w, frame16->h);
    clear_to_color(cGraphics::double_buffer, 0xFFFFFFFF);
    image.AndMaskDraw(0, 0, 0);
    EXPECT_EQ(0xFFFFFFFFu, static_cast<uint32_t>(getpixel(cGraphics::double_buffer, 1, 1)));
    destroy_bitmap(cGraphics::double_buffer);
    cGraphics::double_buffer = frame16;
}

// Random frames, stencils, places and masks, against each play-area pixel worked out from
// the stencil pixel over it, if any.
TEST(MaskDrawRandom, MatchesThePerPixelComputationOnBothScreens)
{
    std::mt19937 random(11);
    for (int width : {800, 1024}) {
        HeadlessScreen screen(width, 600);
        BITMAP* frame = Frame();
        BITMAP* expected = create_bitmap_ex(16, frame->w, frame->h);
        for (int round = 0; round < 24; ++round) {
            for (int y = 0; y < frame->h; ++y)
                for (int x = 0; x < frame->w; ++x)
                    SetPixel(frame, x, y, static_cast<uint16_t>(random()));
            const int sw = 1 + random() % 80, sh = 1 + random() % 80;
            cImage image;
            Paint(&image, sw, sh, 0);
            for (int v = 0; v < sh; ++v)
                for (int u = 0; u < sw; ++u)
                    SetPixel(image.bitmap, u, v,
                             random() % 3 == 0 ? TRANSPARENT : static_cast<uint16_t>(random()));
            const int x = static_cast<int>(random() % (width + 2 * sw)) - 2 * sw + sw / 2;
            const int y = static_cast<int>(random() % (600 + 2 * sh)) - 2 * sh + sh / 2;
            const uint16_t mask = static_cast<uint16_t>(random());
            const bool is_and = random() % 2;
            blit(frame, expected, 0, 0, 0, 0, frame->w, frame->h);
            for (int fy = 0; fy < 600; ++fy)
                for (int fx = 0; fx < width; ++fx) {
                    const int u = fx - x, v = fy - y;
                    if (u < 0 || v < 0 || u >= sw || v >= sh ||
                        PixelAt(image.bitmap, u, v) == TRANSPARENT)
                        continue;
                    const uint16_t pixel = PixelAt(frame, fx, fy);
                    SetPixel(expected, fx, fy, is_and ? pixel & mask : pixel | mask);
                }
            is_and ? image.AndMaskDraw(x, y, mask) : image.OrMaskDraw(x, y, mask);
            EXPECT_EQ(0, DifferingPixels(expected, frame))
                << "width " << width << " round " << round << " at " << x << "," << y;
        }
        destroy_bitmap(expected);
    }
}
} // namespace
