#include "graphics/cFX.h"

#include "graphics/cColour.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
const uint16_t BLUE = 0x001F;

class FXTest : public testing::Test {
protected:
    HeadlessScreen screen;
    BITMAP* Buffer() { return cGraphics::double_buffer; }
};

TEST_F(FXTest, ARectangleIncludesBothCornersInEitherOrderClippedToTheWholeBuffer)
{
    // {corner, opposite corner, then the left, top, right and bottom drawn}; the 801 x 601
    // buffer takes columns up to 800 and rows up to 600.
    const int cases[][8] = {{2, 30, 2, 50, 2, 30, 2, 50},
                            {10, 10, 5, 5, 5, 5, 10, 10},
                            {795, 595, 900, 700, 795, 595, 800, 600},
                            {-50, -50, -1, -1, 0, 0, -1, -1}};
    for (const auto& c : cases) {
        cFX::Clear(0, 0, 0);
        cFX::DrawRectangle(c[0], c[1], c[2], c[3], 0, 0, 255);
        const int area = std::max(0, c[6] - c[4] + 1) * std::max(0, c[7] - c[5] + 1);
        EXPECT_EQ(area, CountPixels(Buffer(), BLUE)) << c[0] << "," << c[1];
        if (area > 0) {
            EXPECT_EQ(BLUE, PixelAt(Buffer(), c[4], c[5])) << c[0] << "," << c[1];
            EXPECT_EQ(BLUE, PixelAt(Buffer(), c[6], c[7])) << c[0] << "," << c[1];
        }
    }
    cFX::Clear(0, 0, 0);
    cFX::DrawPixel(-1, 0, 0, 0, 255);
    cFX::DrawPixel(0, 601, 0, 0, 255);
    cFX::DrawPixel(800, 600, 0, 0, 255);
    EXPECT_EQ(1, CountPixels(Buffer(), BLUE));
    EXPECT_EQ(BLUE, PixelAt(Buffer(), 800, 600));
}

TEST_F(FXTest, ClearTurnsEverythingBlackWhateverItIsGiven)
{
    cFX::DrawRectangle(0, 0, 800, 600, 255, 255, 255);
    cFX::Clear(255, 128, 7);
    EXPECT_EQ(801 * 601, CountPixels(Buffer(), 0));
}

TEST_F(FXTest, ADefaultColourIsMagentaJustOffTheMaskColour)
{
    cColour colour;
    EXPECT_EQ(254, colour.r);
    EXPECT_EQ(0, colour.g);
    EXPECT_EQ(255, colour.b);
    cFX::DrawPixel(3, 4, &colour);
    EXPECT_EQ(makecol(254, 0, 255), PixelAt(Buffer(), 3, 4));
    colour.Set(0, 0, 255);
    cFX::DrawPixel(6, 4, &colour);
    EXPECT_EQ(BLUE, PixelAt(Buffer(), 6, 4));
}
} // namespace
