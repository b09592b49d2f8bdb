#include "game/Hud.h"

#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const uint16_t FULL_BLUE = 0x001F;
const uint16_t RED = 0xF800;

std::string Text(int population)
{
    char text[POPULATION_TEXT_SIZE];
    FormatPopulation(population, text);
    return text;
}

int CountIn(int x1, int y1, int x2, int y2, uint16_t value)
{
    int count = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            count += PixelAt(cGraphics::double_buffer, x, y) == value;
    return count;
}

TEST(HudText, PopulationIsRightAlignedInSevenPlacesAndNeverCut)
{
    EXPECT_EQ("Population:       0 ", Text(0));
    EXPECT_EQ("Population:  369595 ", Text(369595));
    EXPECT_EQ("Population: 12345678 ", Text(12345678));
    EXPECT_EQ("Population: -2147483648 ", Text(-2147483647 - 1));
}

class HudTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cImage sign; // empty: draws the placeholder at its corner
};

TEST_F(HudTest, DrawsTheSignRedTextOverItAndAnEmptyBarOfOneColumn)
{
    DrawHud(&sign, 0, 0, 0);
    EXPECT_EQ(HeadlessScreen::PLACEHOLDER, PixelAt(cGraphics::double_buffer, 2, 2));
    const int text_pixels = CountIn(0, 0, 800, 29, RED);
    EXPECT_GT(text_pixels, 0);
    // The 8x8 font puts 20 characters between x 6 and 165, rows 10 to 17.
    EXPECT_EQ(text_pixels, CountIn(6, 10, 165, 17, RED));
    EXPECT_EQ(21, CountPixels(cGraphics::double_buffer, FULL_BLUE));
    EXPECT_EQ(21, CountIn(2, 30, 2, 50, FULL_BLUE));
}

TEST_F(HudTest, AFullBarSpansTo244)
{
    DrawHud(&sign, 0, 121, 0);
    EXPECT_EQ(243 * 21, CountPixels(cGraphics::double_buffer, FULL_BLUE));
    EXPECT_EQ(243 * 21, CountIn(2, 30, 244, 50, FULL_BLUE));
}

TEST_F(HudTest, TheBarsBluePulsesOver255Frames)
{
    // {frame, blue}
    const int cases[][2] = {{0, 255},   {1, 254},   {126, 129}, {127, 128},
                            {128, 129}, {254, 255}, {255, 255}, {382, 128}};
    for (const auto& c : cases) {
        DrawHud(&sign, 0, 0, c[0]);
        EXPECT_EQ(makecol(0, 0, c[1]), PixelAt(cGraphics::double_buffer, 2, 40))
            << "frame " << c[0];
    }
}
} // namespace
