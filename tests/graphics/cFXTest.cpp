#include "graphics/cFX.h"
#include "graphics/cColour.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

namespace {
const uint16_t BLUE = 0x001F;

class FXTest : public testing::Test {
protected:
    HeadlessScreen screen;
    BITMAP* Buffer() { return cGraphics::double_buffer; }
};
} // namespace

TEST_F(FXTest, ARectangleIncludesBothCornersInEitherOrder)
{
    cFX::DrawRectangle(2, 30, 2, 50, 0, 0, 255);
    EXPECT_EQ(CountPixels(Buffer(), BLUE), 21);
    EXPECT_EQ(PixelAt(Buffer(), 2, 30), BLUE);
    EXPECT_EQ(PixelAt(Buffer(), 2, 50), BLUE);

    cFX::Clear(0, 0, 0);
    cFX::DrawRectangle(10, 10, 5, 5, 0, 0, 255);
    EXPECT_EQ(CountPixels(Buffer(), BLUE), 36);
    EXPECT_EQ(PixelAt(Buffer(), 5, 5), BLUE);
    EXPECT_EQ(PixelAt(Buffer(), 10, 10), BLUE);
}

TEST_F(FXTest, DrawingIsClippedToTheWholeBuffer)
{
    cFX::DrawRectangle(795, 595, 900, 700, 0, 0, 255);
    // 801 x 601 buffer: columns 795..800 and rows 595..600.
    EXPECT_EQ(CountPixels(Buffer(), BLUE), 6 * 6);

    cFX::Clear(0, 0, 0);
    cFX::DrawRectangle(-50, -50, -1, -1, 0, 0, 255);
    cFX::DrawPixel(-1, 0, 0, 0, 255);
    cFX::DrawPixel(0, 601, 0, 0, 255);
    EXPECT_EQ(CountPixels(Buffer(), BLUE), 0);

    cFX::DrawPixel(800, 600, 0, 0, 255);
    EXPECT_EQ(PixelAt(Buffer(), 800, 600), BLUE);
}

TEST_F(FXTest, ClearTurnsEverythingBlackWhateverItIsGiven)
{
    cFX::DrawRectangle(0, 0, 800, 600, 255, 255, 255);
    cFX::Clear(255, 128, 7);
    EXPECT_EQ(CountPixels(Buffer(), 0), 801 * 601);
}

TEST_F(FXTest, ADefaultColourIsMagentaJustOffTheMaskColour)
{
    cColour colour;
    cFX::DrawPixel(3, 4, &colour);
    cFX::DrawPixel(5, 4, 254, 0, 255);
    EXPECT_EQ(PixelAt(Buffer(), 3, 4), PixelAt(Buffer(), 5, 4));
    EXPECT_EQ(PixelAt(Buffer(), 3, 4), makecol(254, 0, 255));

    colour.Set(0, 0, 255);
    cFX::DrawPixel(6, 4, &colour);
    EXPECT_EQ(PixelAt(Buffer(), 6, 4), BLUE);
}
