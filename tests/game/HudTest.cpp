#include "game/Hud.h"

#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace {
const uint16_t RED = 0xF800;

using Box = std::array<int, 4>;

// The population text is left to tests/e2e/play.sh, which sees it change in the real game.
TEST(HudTest, TheBarGrowsTwoPixelsPerEnergyUnitAndItsBluePulsesOver255Frames)
{
    HeadlessScreen screen;
    cImage sign; // empty: draws the placeholder at its corner
    // {energy, frame, blue}: an empty bar is one column wide, a full one 243.
    const int cases[][3] = {{0, 0, 255},     {121, 1, 254}, {0, 126, 129},
                            {121, 127, 128}, {0, 128, 129}, {0, 382, 128}};
    for (const auto& c : cases) {
        clear_to_color(cGraphics::double_buffer, 0);
        DrawHud(&sign, 0, c[0], c[1]);
        const uint16_t blue = makecol(0, 0, c[2]);
        const int columns = c[0] ? 243 : 1;
        EXPECT_EQ(21 * columns, CountPixels(cGraphics::double_buffer, blue)) << "frame " << c[1];
        EXPECT_EQ((Box{2, 30, 1 + columns, 50}), BoxOf(cGraphics::double_buffer, blue)) << c[1];
    }
}

TEST(HudTest, ThePausePanelShadesABorderedBoxInTheMiddleWithTheWordInLargeRedLetters)
{
    for (const auto& size : {std::make_pair(800, 600), std::make_pair(1024, 600)}) {
        HeadlessScreen area(size.first, size.second);
        clear_to_color(cGraphics::double_buffer, 0xFFFF);
        DrawPausePanel();
        const int x = size.first / 2, y = size.second / 2; // the box: 240 by 80 around it
        const uint16_t blue = makecol(0, 0, 255),
                       shade = PixelAt(cGraphics::double_buffer, x - 100, y - 30);
        EXPECT_EQ((Box{x - 120, y - 40, x + 119, y + 39}),
                  BoxOf(cGraphics::double_buffer, 0xFFFF, false));
        EXPECT_EQ((std::vector<uint16_t>{blue, blue, shade}),
                  (std::vector<uint16_t>{PixelAt(cGraphics::double_buffer, x - 120, y),
                                         PixelAt(cGraphics::double_buffer, x + 118, y - 39),
                                         PixelAt(cGraphics::double_buffer, x + 117, y + 37)}));
        EXPECT_EQ(31 * 80 / 256, shade >> 11); // white's red keeps 80 / 256 of its light
        // Six letters of the 8x8 font, three times as large, centred; a letter leaves the last
        // column and row of its cell blank.
        EXPECT_EQ((Box{x - 72, y - 12, x + 68, y + 8}), BoxOf(cGraphics::double_buffer, RED));
        EXPECT_GT(CountPixels(cGraphics::double_buffer, RED), 6 * 9 * 3);
    }
}
} // namespace
