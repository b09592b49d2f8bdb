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

BITMAP* Copy(BITMAP* bitmap)
{
    BITMAP* copy = create_bitmap_ex(16, bitmap->w, bitmap->h);
    blit(bitmap, copy, 0, 0, 0, 0, bitmap->w, bitmap->h);
    return copy;
}

// A frame of random colours, so that every bit of a mask has something to act on.
void FillRandomly(BITMAP* frame, std::mt19937& random)
{
    for (int y = 0; y < frame->h; ++y)
        for (int x = 0; x < frame->w; ++x)
            SetPixel(frame, x, y, static_cast<uint16_t>(random()));
}

// The expected frame worked out pixel by pixel from the frame's side: each pixel of the
// play area looks up the stencil pixel over it, if any.
BITMAP* ExpectedFrame(BITMAP* before, BITMAP* stencil, bool is_and, int x, int y, uint16_t mask)
{
    BITMAP* expected = Copy(before);
    for (int fy = 0; fy < cGraphics::SCR_HEIGHT; ++fy)
        for (int fx = 0; fx < cGraphics::SCR_WIDTH; ++fx) {
            const int u = fx - x, v = fy - y;
            if (u < 0 || v < 0 || u >= stencil->w || v >= stencil->h ||
                PixelAt(stencil, u, v) == TRANSPARENT)
                continue;
            const uint16_t pixel = PixelAt(before, fx, fy);
            SetPixel(expected, fx, fy, is_and ? pixel & mask : pixel | mask);
        }
    return expected;
}

class MaskDrawTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cImage image;
    std::mt19937 random{1};

    BITMAP* Frame() { return cGraphics::double_buffer; }
};

TEST_F(MaskDrawTest, TransparentImagesAndIdentityMasksChangeNothing)
{
    FillRandomly(Frame(), random);
    BITMAP* before = Copy(Frame());
    Paint(&image, 30, 20, TRANSPARENT);
    image.AndMaskDraw(10, 10, 0);
    image.OrMaskDraw(10, 10, static_cast<short>(0xFFFF));
    Paint(&image, 50, 40, 0x1234);
    image.AndMaskDraw(100, 100, static_cast<short>(0xFFFF));
    image.OrMaskDraw(100, 100, 0x0000);
    EXPECT_EQ(0, DifferingPixels(before, Frame()));
    destroy_bitmap(before);
}

TEST_F(MaskDrawTest, ShadowDarkensWhiteKeepsBlackOnlyUnderTheShapeWhateverItsColoursAndOnce)
{
    for (uint16_t colour : {0x0000, 0xFFFE}) {
        clear_to_color(Frame(), WHITE);
        SetPixel(Frame(), 22, 30, 0x0000);
        Paint(&image, 16, 16, colour);
        for (int i = 0; i < 16; ++i)
            SetPixel(image.bitmap, i, i, TRANSPARENT);
        image.AndMaskDraw(20, 30, SHADOW_MASK);
        EXPECT_EQ(16 * 15 - 1, CountPixels(Frame(), SHADOW_MASK)) << "stencil colour " << colour;
        EXPECT_EQ(0x0000, PixelAt(Frame(), 22, 30));
        EXPECT_EQ(SHADOW_MASK, PixelAt(Frame(), 21, 30)) << "stencil colour " << colour;
        EXPECT_EQ(WHITE, PixelAt(Frame(), 25, 35)) << "the diagonal is skipped";
        BITMAP* once = Copy(Frame());
        image.AndMaskDraw(20, 30, SHADOW_MASK);
        EXPECT_EQ(0, DifferingPixels(once, Frame())) << "stencil colour " << colour;
        destroy_bitmap(once);
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
                            {w - 10, h - 10, 20, 20, w - 10, h - 10, w - 1, h - 1, 100},
                            {-50, -50, w + 100, h + 100, 0, 0, w - 1, h - 1, w * h},
                            {w, 0, 10, 10, none, none, -1, -1, 0},
                            {-10, 0, 10, 10, none, none, -1, -1, 0},
                            {0, h, 10, 10, none, none, -1, -1, 0},
                            {0, -10, 10, 10, none, none, -1, -1, 0}};
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

TEST_F(MaskDrawTest, EmptyImageDrawsThePlaceholderWithItsOwnColoursWhateverTheMask)
{
    clear_to_color(Frame(), WHITE);
    image.AndMaskDraw(10, 20, 0x0000);
    image.OrMaskDraw(30, 40, static_cast<short>(0xFFFF));
    // Two whole squares of the placeholder's size in that box can only sit in its corners.
    const int size = HeadlessScreen::PLACEHOLDER_SIZE;
    EXPECT_EQ((std::array<int, 4>{10, 20, 30 + size - 1, 40 + size - 1}),
              BoxOf(Frame(), HeadlessScreen::PLACEHOLDER));
    EXPECT_EQ(2 * size * size, CountPixels(Frame(), HeadlessScreen::PLACEHOLDER));
}

TEST_F(MaskDrawTest, BitmapsOfAnotherDepthAreLeftAlone)
{
    clear_to_color(Frame(), WHITE);
    Paint(&image, 10, 10, 0x0001);
    destroy_bitmap(image.bitmap);
    image.bitmap = create_bitmap_ex(32, 10, 10);
    clear_to_color(image.bitmap, 0x00000001);
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

TEST(MaskDrawRandom, MatchesThePerPixelComputationOnBothScreens)
{
    std::mt19937 random(11);
    for (int width : {800, 1024}) {
        HeadlessScreen screen(width, 600);
        for (int round = 0; round < 24; ++round) {
            FillRandomly(cGraphics::double_buffer, random);
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
            BITMAP* expected =
                ExpectedFrame(cGraphics::double_buffer, image.bitmap, is_and, x, y, mask);
            is_and ? image.AndMaskDraw(x, y, mask) : image.OrMaskDraw(x, y, mask);
            EXPECT_EQ(0, DifferingPixels(expected, cGraphics::double_buffer))
                << "width " << width << " round " << round << " at " << x << "," << y;
            destroy_bitmap(expected);
        }
    }
}
} // namespace
