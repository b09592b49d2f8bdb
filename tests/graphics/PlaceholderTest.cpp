#include "graphics/Placeholder.h"

#include "support/Headless.h"

#include <gtest/gtest.h>

#include <array>

namespace {
// What the display's modes draw for a missing picture: squares of 8, red at the top left.
TEST(Placeholder, IsARedAndYellowCheckerboardInABlackFrame)
{
    HeadlessScreen screen;
    BITMAP* picture = MakePlaceholderBitmap();
    EXPECT_EQ(CountPixels(picture, 0), 4 * 31);
    for (auto [x, y, red] : {std::array{4, 4, 1}, {12, 4, 0}, {12, 12, 1}, {4, 28, 0}})
        EXPECT_EQ(PixelAt(picture, x, y), makecol(255, red ? 0 : 255, 0)) << x << "," << y;
    destroy_bitmap(picture);
}
} // namespace
