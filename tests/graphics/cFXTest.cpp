#include "graphics/cFX.h"

#include "graphics/Placeholder.h"
#include "graphics/cColour.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <array>

namespace {
const uint16_t BLUE = 0x001F;

BITMAP* Buffer() { return cGraphics::double_buffer; }

// Thin wrappers of the library's drawing: each colour reaches the buffer as given, and Clear
// turns everything black whatever it is given.
TEST(FX, DrawsInTheColoursGivenAndClearsToBlack)
{
    HeadlessScreen screen;
    cColour colour(0, 0, 255);
    cFX::DrawPixel(3, 4, &colour);
    cFX::DrawPixel(800, 600, 0, 0, 255);
    cFX::DrawRectangle(10, 10, 5, 5, 0, 0, 255);
    for (auto [x, y] : {std::array{3, 4}, {800, 600}, {5, 5}, {10, 10}})
        EXPECT_EQ(BLUE, PixelAt(Buffer(), x, y)) << x << "," << y;
    EXPECT_EQ(2 + 6 * 6, CountPixels(Buffer(), BLUE));
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
