#include "graphics/cFX.h"

#include "graphics/cColour.h"
#include "graphics/cGraphics.h"
#include "graphics/Placeholder.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <array>

namespace {
const uint16_t BLUE = 0x001F;

BITMAP* Buffer() { return cGraphics::double_buffer; }

TEST(FX, RectanglesAndPixelsClippedToTheWholeBufferAndClear)
{
    HeadlessScreen screen;
    // {corner, opposite corner, then the box drawn}; the 801 x 601 buffer takes columns up
    // to 800 and rows up to 600.
    const int cases[][8] = {{2, 30, 4, 50, 2, 30, 4, 50},
                            {10, 10, 5, 5, 5, 5, 10, 10},
                            {795, 595, 900, 700, 795, 595, 800, 600}};
    for (const auto& c : cases) {
        cFX::Clear(0, 0, 0);
        cFX::DrawRectangle(c[0], c[1], c[2], c[3], 0, 0, 255);
        EXPECT_EQ((std::array<int, 4>{c[4], c[5], c[6], c[7]}), BoxOf(Buffer(), BLUE));
        EXPECT_EQ((c[6] - c[4] + 1) * (c[7] - c[5] + 1), CountPixels(Buffer(), BLUE));
    }

    // Pixels land where given; Clear turns everything black whatever it is given.
    cFX::Clear(0, 0, 0);
    cColour colour;
    cFX::DrawPixel(3, 4, &colour);
    EXPECT_EQ(makecol(254, 0, 255), PixelAt(Buffer(), 3, 4));
    colour.Set(0, 0, 255);
    cFX::DrawPixel(6, 4, &colour);
    cFX::DrawPixel(800, 600, 0, 0, 255);
    cFX::DrawPixel(-1, 0, 0, 0, 255);
    EXPECT_EQ(BLUE, PixelAt(Buffer(), 6, 4));
    EXPECT_EQ(BLUE, PixelAt(Buffer(), 800, 600));
    EXPECT_EQ(2, CountPixels(Buffer(), BLUE));

    cFX::Clear(255, 128, 7);
    EXPECT_EQ(801 * 601, CountPixels(Buffer(), 0));
}

// What the display's modes draw for a missing picture: squares of 8, red at the top left.
TEST(FX, ThePlaceholderIsARedAndYellowCheckerboardInABlackFrame)
{
    HeadlessScreen screen;
    BITMAP* picture = MakePlaceholderBitmap();
    EXPECT_EQ(CountPixels(picture, 0), 4 * 31);
    for (auto [x, y, red] : {std::array{4, 4, 1}, {12, 4, 0}, {12, 12, 1}, {4, 28, 0}})
        EXPECT_EQ(PixelAt(picture, x, y), makecol(255, red ? 0 : 255, 0)) << x << "," << y;
    destroy_bitmap(picture);
}
} // namespace
