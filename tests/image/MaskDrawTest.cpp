#include "image/cImage.h"

#include "graphics/cGraphics.h"
#include "support/GuardedBuffer.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const uint16_t TRANSPARENT = 0xF81F;
const uint16_t WHITE = 0xFFFF;
const uint16_t SHADOW_MASK = 0x79EF;

enum class Op { And, Or };

// An image that owns the given bitmap, as if it had been read from a file.
void Adopt(cImage& image, BITMAP* bitmap) {
    image.bitmap = bitmap;
    image.loaded = true;
    image.half_width = bitmap->w / 2;
    image.half_height = bitmap->h / 2;
}

void Stencil(cImage& image, Op op, int x, int y, uint16_t mask) {
    if (op == Op::And)
        image.AndMaskDraw(x, y, static_cast<short>(mask));
    else
        image.OrMaskDraw(x, y, static_cast<short>(mask));
}

BITMAP* Copy(BITMAP* bitmap) {
    BITMAP* copy = create_bitmap_ex(16, bitmap->w, bitmap->h);
    blit(bitmap, copy, 0, 0, 0, 0, bitmap->w, bitmap->h);
    return copy;
}

// The expected frame worked out pixel by pixel from the frame's side: each pixel of the
// screen rectangle looks up the stencil pixel over it, if any.
BITMAP* ExpectedFrame(BITMAP* before, BITMAP* stencil, Op op, int x, int y, uint16_t mask) {
    BITMAP* expected = Copy(before);
    for (int fy = 0; fy < cGraphics::SCR_HEIGHT; ++fy)
        for (int fx = 0; fx < cGraphics::SCR_WIDTH; ++fx) {
            const int u = fx - x, v = fy - y;
            if (u < 0 || v < 0 || u >= stencil->w || v >= stencil->h)
                continue;
            if (PixelAt(stencil, u, v) == TRANSPARENT)
                continue;
            const uint16_t pixel = PixelAt(before, fx, fy);
            SetPixel(expected, fx, fy, op == Op::And ? pixel & mask : pixel | mask);
        }
    return expected;
}

int DifferingPixels(BITMAP* a, BITMAP* b) {
    int differing = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            differing += PixelAt(a, x, y) != PixelAt(b, x, y);
    return differing;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
};

// Where the frame no longer holds its original colour.
Box ChangedBox(BITMAP* frame, uint16_t original) {
    Box box;
    for (int y = 0; y < frame->h; ++y)
        for (int x = 0; x < frame->w; ++x)
            if (PixelAt(frame, x, y) != original) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

class MaskDrawTest : public testing::Test {
  protected:
    HeadlessScreen screen;
    cImage image;

    BITMAP* Frame() { return cGraphics::double_buffer; }
    void FillFrame(uint16_t value) { clear_to_color(Frame(), value); }

    // A frame of random colours, so that every bit of the mask has something to act on.
    void FillFrameRandomly(std::mt19937& random) {
        for (int y = 0; y < Frame()->h; ++y)
            for (int x = 0; x < Frame()->w; ++x)
                SetPixel(Frame(), x, y, static_cast<uint16_t>(random()));
    }

    void AdoptSolid(int width, int height, uint16_t colour) {
        Adopt(image, SolidBitmap(width, height, colour));
    }
};

TEST_F(MaskDrawTest, FullyTransparentImageChangesNothing) {
    std::mt19937 random(1);
    FillFrameRandomly(random);
    BITMAP* before = Copy(Frame());
    AdoptSolid(30, 20, TRANSPARENT);
    image.AndMaskDraw(10, 10, 0);
    image.OrMaskDraw(10, 10, static_cast<short>(0xFFFF));
    EXPECT_EQ(0, DifferingPixels(before, Frame()));
    destroy_bitmap(before);
}

TEST_F(MaskDrawTest, AllOnesAndMaskAndZeroOrMaskAreIdentities) {
    std::mt19937 random(2);
    FillFrameRandomly(random);
    BITMAP* before = Copy(Frame());
    AdoptSolid(50, 40, 0x1234);
    image.AndMaskDraw(100, 100, static_cast<short>(0xFFFF));
    image.OrMaskDraw(100, 100, 0x0000);
    EXPECT_EQ(0, DifferingPixels(before, Frame()));
    destroy_bitmap(before);
}

TEST_F(MaskDrawTest, OnlyTheShapeCountsNotTheColours) {
    std::mt19937 random(3);
    FillFrameRandomly(random);
    BITMAP* start = Copy(Frame());

    BITMAP* dark = SolidBitmap(16, 16, 0x0000);
    BITMAP* light = SolidBitmap(16, 16, 0xFFFE);
    for (int i = 0; i < 16; ++i) {
        SetPixel(dark, i, i, TRANSPARENT);
        SetPixel(light, i, i, TRANSPARENT);
    }
    BITMAP* expected = ExpectedFrame(start, dark, Op::And, 20, 30, SHADOW_MASK);

    Adopt(image, dark);
    image.AndMaskDraw(20, 30, SHADOW_MASK);
    EXPECT_EQ(0, DifferingPixels(expected, Frame()));

    blit(start, Frame(), 0, 0, 0, 0, start->w, start->h);
    cImage other;
    Adopt(other, light);
    other.AndMaskDraw(20, 30, SHADOW_MASK);
    EXPECT_EQ(0, DifferingPixels(expected, Frame()));
    EXPECT_EQ(PixelAt(start, 25, 35), PixelAt(Frame(), 25, 35)) << "the diagonal is skipped";
    destroy_bitmap(start);
    destroy_bitmap(expected);
}

TEST_F(MaskDrawTest, ShadowMaskDarkensWhiteKeepsBlackAndIsIdempotent) {
    FillFrame(WHITE);
    SetPixel(Frame(), 5, 5, 0x0000);
    AdoptSolid(10, 10, 0x0001);
    image.AndMaskDraw(0, 0, SHADOW_MASK);
    EXPECT_EQ(SHADOW_MASK, PixelAt(Frame(), 0, 0));
    EXPECT_EQ(0x0000, PixelAt(Frame(), 5, 5));
    BITMAP* once = Copy(Frame());
    image.AndMaskDraw(0, 0, SHADOW_MASK);
    EXPECT_EQ(0, DifferingPixels(once, Frame()));
    destroy_bitmap(once);
}

TEST_F(MaskDrawTest, MaskIsUsedAsItsSixteenBitPattern) {
    FillFrame(WHITE);
    AdoptSolid(2, 1, 0x0001);
    image.AndMaskDraw(0, 0, static_cast<short>(0x18000)); // passes 0x8000
    EXPECT_EQ(0x8000, PixelAt(Frame(), 0, 0));
    FillFrame(0x0000);
    image.OrMaskDraw(0, 0, static_cast<short>(0xF000));
    EXPECT_EQ(0xF000, PixelAt(Frame(), 1, 0));
    EXPECT_EQ(0x0000, PixelAt(Frame(), 2, 0));
}

TEST_F(MaskDrawTest, ClipsAtTheLeftEdge) {
    FillFrame(WHITE);
    AdoptSolid(10, 10, 0x0001);
    image.AndMaskDraw(-3, 5, 0);
    const Box box = ChangedBox(Frame(), WHITE);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(6, box.right);
    EXPECT_EQ(5, box.top);
    EXPECT_EQ(14, box.bottom);
    EXPECT_EQ(70, box.count);
}

TEST_F(MaskDrawTest, ClipsAtTheRightEdgeOfThePlayAreaNotOfTheBuffer) {
    FillFrame(WHITE);
    AdoptSolid(10, 10, 0x0001);
    image.AndMaskDraw(cGraphics::SCR_WIDTH - 4, 100, 0);
    const Box box = ChangedBox(Frame(), WHITE);
    EXPECT_EQ(cGraphics::SCR_WIDTH - 4, box.left);
    EXPECT_EQ(cGraphics::SCR_WIDTH - 1, box.right);
    EXPECT_EQ(40, box.count);
}

TEST_F(MaskDrawTest, ClipsAtTheTopAndBottomEdges) {
    FillFrame(WHITE);
    AdoptSolid(10, 10, 0x0001);
    image.AndMaskDraw(50, -7, 0);
    Box box = ChangedBox(Frame(), WHITE);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(2, box.bottom);
    EXPECT_EQ(30, box.count);

    FillFrame(WHITE);
    image.AndMaskDraw(50, cGraphics::SCR_HEIGHT - 2, 0);
    box = ChangedBox(Frame(), WHITE);
    EXPECT_EQ(cGraphics::SCR_HEIGHT - 2, box.top);
    EXPECT_EQ(cGraphics::SCR_HEIGHT - 1, box.bottom);
    EXPECT_EQ(20, box.count);
}

TEST_F(MaskDrawTest, ImageLargerThanThePlayAreaIsCutOnAllSides) {
    FillFrame(WHITE);
    GuardedBuffer guarded;
    AdoptSolid(cGraphics::SCR_WIDTH + 100, cGraphics::SCR_HEIGHT + 100, 0x0001);
    image.OrMaskDraw(-50, -50, 0x001F);
    const Box box = ChangedBox(Frame(), WHITE);
    EXPECT_EQ(0, box.count) << "white OR anything is white";
    image.AndMaskDraw(-50, -50, 0);
    const Box cleared = ChangedBox(Frame(), WHITE);
    EXPECT_EQ(0, cleared.left);
    EXPECT_EQ(0, cleared.top);
    EXPECT_EQ(cGraphics::SCR_WIDTH - 1, cleared.right);
    EXPECT_EQ(cGraphics::SCR_HEIGHT - 1, cleared.bottom);
    EXPECT_EQ(cGraphics::SCR_WIDTH * cGraphics::SCR_HEIGHT, cleared.count);
    EXPECT_EQ(0, guarded.StrayPixels());
}

TEST_F(MaskDrawTest, ExtraColumnAndRowOfTheBufferAreNeverTouched) {
    FillFrame(WHITE);
    GuardedBuffer guarded;
    AdoptSolid(20, 20, 0x0001);
    const int w = cGraphics::SCR_WIDTH, h = cGraphics::SCR_HEIGHT;
    image.AndMaskDraw(w - 10, h - 10, 0);
    image.AndMaskDraw(w - 10, 100, 0);
    image.AndMaskDraw(100, h - 10, 0);
    for (int y = 0; y <= h; ++y)
        EXPECT_EQ(WHITE, PixelAt(Frame(), w, y)) << "row " << y;
    for (int x = 0; x <= w; ++x)
        EXPECT_EQ(WHITE, PixelAt(Frame(), x, h)) << "column " << x;
    EXPECT_EQ(0, guarded.StrayPixels());
}

TEST_F(MaskDrawTest, ImagesWhollyOutsideThePlayAreaDrawNothing) {
    FillFrame(WHITE);
    AdoptSolid(10, 10, 0x0001);
    const int w = cGraphics::SCR_WIDTH, h = cGraphics::SCR_HEIGHT;
    const int outside[][2] = {{w, 0},   {-10, 0}, {-11, 0}, {0, h},
                              {0, -10}, {0, -11}, {w, h},   {-500, -500}};
    for (const auto& at : outside)
        image.AndMaskDraw(at[0], at[1], 0);
    EXPECT_EQ(0, ChangedBox(Frame(), WHITE).count);
}

TEST_F(MaskDrawTest, EmptyImageDrawsThePlaceholderWithItsOwnColoursWhateverTheMask) {
    FillFrame(WHITE);
    image.AndMaskDraw(10, 20, 0x0000);
    image.OrMaskDraw(30, 40, static_cast<short>(0xFFFF));
    const int size = HeadlessScreen::PLACEHOLDER_SIZE;
    EXPECT_EQ(HeadlessScreen::PLACEHOLDER, PixelAt(Frame(), 10, 20));
    EXPECT_EQ(HeadlessScreen::PLACEHOLDER, PixelAt(Frame(), 10 + size - 1, 20 + size - 1));
    EXPECT_EQ(HeadlessScreen::PLACEHOLDER, PixelAt(Frame(), 30, 40));
    EXPECT_EQ(2 * size * size, CountPixels(Frame(), HeadlessScreen::PLACEHOLDER));
}

TEST_F(MaskDrawTest, BitmapsOfAnotherDepthAreLeftAlone) {
    FillFrame(WHITE);
    BITMAP* deep = create_bitmap_ex(32, 10, 10);
    clear_to_color(deep, 0x00000001);
    Adopt(image, deep);
    image.AndMaskDraw(0, 0, 0);
    EXPECT_EQ(0, ChangedBox(Frame(), WHITE).count);

    cImage shallow;
    Adopt(shallow, SolidBitmap(10, 10, 0x0001));
    BITMAP* frame16 = cGraphics::double_buffer;
    cGraphics::double_buffer = create_bitmap_ex(32, frame16->w, frame16->h);
    clear_to_color(cGraphics::double_buffer, 0xFFFFFFFF);
    shallow.AndMaskDraw(0, 0, 0);
    EXPECT_EQ(0xFFFFFFFFu, static_cast<uint32_t>(getpixel(cGraphics::double_buffer, 1, 1)));
    destroy_bitmap(cGraphics::double_buffer);
    cGraphics::double_buffer = frame16;
}

// Random images, positions, masks and operations, each against the per-pixel computation.
void CheckRandomStencils(unsigned seed) {
    std::mt19937 random(seed);
    const int w = cGraphics::SCR_WIDTH, h = cGraphics::SCR_HEIGHT;
    for (int round = 0; round < 12; ++round) {
        BITMAP* frame = cGraphics::double_buffer;
        for (int y = 0; y < frame->h; ++y)
            for (int x = 0; x < frame->w; ++x)
                SetPixel(frame, x, y, static_cast<uint16_t>(random()));
        const int sw = 1 + random() % 80, sh = 1 + random() % 80;
        BITMAP* stencil = SolidBitmap(sw, sh, 0);
        for (int v = 0; v < sh; ++v)
            for (int u = 0; u < sw; ++u)
                SetPixel(stencil, u, v,
                         random() % 3 == 0 ? TRANSPARENT : static_cast<uint16_t>(random()));
        const int x = static_cast<int>(random() % (w + 2 * sw)) - 2 * sw + sw / 2;
        const int y = static_cast<int>(random() % (h + 2 * sh)) - 2 * sh + sh / 2;
        const uint16_t mask = static_cast<uint16_t>(random());
        const Op op = random() % 2 ? Op::And : Op::Or;

        BITMAP* before = Copy(frame);
        BITMAP* expected = ExpectedFrame(before, stencil, op, x, y, mask);
        cImage image;
        Adopt(image, Copy(stencil));
        Stencil(image, op, x, y, mask);
        EXPECT_EQ(0, DifferingPixels(expected, frame))
            << "seed " << seed << " round " << round << " at " << x << "," << y;
        destroy_bitmap(expected);
        destroy_bitmap(before);
        destroy_bitmap(stencil);
    }
}

TEST(MaskDrawRandom, MatchesThePerPixelComputationOnTheNarrowScreen) {
    HeadlessScreen screen(800, 600);
    CheckRandomStencils(11);
    CheckRandomStencils(12);
}

TEST(MaskDrawRandom, MatchesThePerPixelComputationOnTheWideScreen) {
    HeadlessScreen screen(1024, 600);
    CheckRandomStencils(21);
    CheckRandomStencils(22);
}
} // namespace
