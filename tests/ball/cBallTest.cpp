#include "ball/cBall.h"
#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

namespace {
const int GRASS = 300;
const int TWO_STOREYS = 1; // a building of kind 0 with one extra storey: 62 pixels

void FillCity(cCity& city, int code)
{
    for (int row = 0; row < city.height; ++row)
        for (int column = 0; column < city.width; ++column)
            city.grid[row][column] = code;
}

class BallTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cCity city;
    cBall ball;
    // Well inside the city, so that every flight stays over the grid.
    const int start_x = 2000, start_y = 1500;

    int Population() { return city.GetPopulation(); }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i)
            ball.Update(&city);
    }
};
} // namespace

TEST_F(BallTest, OnOpenGroundItRestsAtZeroThenBurstsOnTheThirtySecondTick)
{
    FillCity(city, GRASS);
    ball.Create(start_x, start_y, 155, 3, -5, 10);
    Tick(31);
    EXPECT_EQ(ball.z, 0);
    EXPECT_EQ(ball.exploding, 0);

    const int before = Population();
    Tick(1);
    EXPECT_EQ(ball.z, -21);
    EXPECT_EQ(ball.speed_z, 11);
    EXPECT_EQ(ball.speed_x, 1);
    EXPECT_EQ(ball.speed_y, -2);
    EXPECT_EQ(ball.exploding, 1);
    EXPECT_EQ(ball.timer, 4);
    EXPECT_EQ(Population(), before - 193);

    Tick(4);
    EXPECT_TRUE(ball.active);
    Tick(1);
    EXPECT_FALSE(ball.active);
    EXPECT_EQ(Population(), before - 193);
}

TEST_F(BallTest, AnEarlyBounceOnlySlowsItAndTheSecondBounceBursts)
{
    FillCity(city, GRASS);
    ball.Create(start_x, start_y, 155, 3, -5, 7);
    Tick(26);
    EXPECT_EQ(ball.speed_x, 3);
    Tick(1);
    EXPECT_EQ(ball.z, -7);
    EXPECT_EQ(ball.speed_z, 10);
    EXPECT_EQ(ball.speed_x, 1);
    EXPECT_EQ(ball.exploding, 0);

    Tick(20);
    EXPECT_EQ(ball.exploding, 0);
    Tick(1);
    EXPECT_EQ(ball.exploding, 1);
}

TEST_F(BallTest, OnARoofItKeepsBouncingInPlaceWithoutLosingDrift)
{
    FillCity(city, TWO_STOREYS);
    ball.Create(start_x, start_y, 40, 0, 2, 0);
    for (int tick = 1; tick <= 31; ++tick) {
        ball.Update(&city);
        EXPECT_EQ(ball.z, 40) << "tick " << tick;
        EXPECT_EQ(ball.speed_z, 0) << "tick " << tick;
        EXPECT_EQ(ball.speed_y, 2) << "tick " << tick;
        EXPECT_EQ(ball.ground_height, 62);
        EXPECT_EQ(ball.exploding, 0) << "tick " << tick;
    }
    Tick(1);
    EXPECT_EQ(ball.exploding, 1);
}

TEST_F(BallTest, LowersTheBuildingUnderItsBurstPositionExactlyOnce)
{
    FillCity(city, GRASS);
    ball.Create(start_x, start_y, 155, 3, -5, 10);
    Tick(31);
    // The burst tick moves the ball once more: to (x + 3 * 31 + 3, y - 5 * 31 - 5).
    const int burst_x = start_x + 96, burst_y = start_y - 160;
    int column, row;
    city.GetTile(burst_x, burst_y, &column, &row);
    city.grid[row][column] = 5; // a building whose ground is low enough to bounce off
    ball.Update(&city);
    ASSERT_EQ(ball.exploding, 1);
    EXPECT_EQ(city.grid[row][column], 4);
    Tick(10);
    EXPECT_EQ(city.grid[row][column], 4);
}

TEST_F(BallTest, AFreeBallNeitherMovesNorCountsNorDraws)
{
    FillCity(city, GRASS);
    ball.Create(start_x, start_y, 155, 3, -5, 10);
    ball.active = false;
    Tick(50);
    EXPECT_EQ(ball.x, start_x);
    EXPECT_EQ(ball.z, 155);
    EXPECT_EQ(ball.timer, 0);

    cImage shadow;
    ball.Draw(start_x - 400, start_y - 300, &shadow);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, 0), 801 * 601);
}

namespace {
const uint16_t FIRE = 0xFFE0, BURST1 = 0x001F, BURST2 = 0xF800, WHITE = 0xFFFF, SHADE = 0x79EF;

class BallDrawingTest : public BallTest {
protected:
    cImage shadow;
    void SetUp() override
    {
        Paint(ball.frames[0], 2, 2, FIRE);
        Paint(ball.frames[1], 2, 2, BURST1);
        Paint(ball.frames[2], 2, 2, BURST2);
        Paint(&shadow, 1, 1, WHITE);
        clear_to_color(cGraphics::double_buffer, WHITE);
    }
    // The colour centred at the ball's screen point after one frame of drawing.
    uint16_t Shown()
    {
        clear_to_color(cGraphics::double_buffer, WHITE);
        ball.Draw(ball.x - 400, ball.y - 300 - ball.z, &shadow);
        return PixelAt(cGraphics::double_buffer, 400, 300);
    }
};
} // namespace

TEST_F(BallDrawingTest, TheBurstShowsFrameOneForTwoFramesThenFrameTwoForThree)
{
    FillCity(city, GRASS);
    ball.Create(start_x, start_y, 155, 3, -5, 10);
    Tick(31);
    // Resting on the ground, it lies under its own shadow.
    EXPECT_EQ(Shown(), FIRE & SHADE);
    const uint16_t expected[] = {BURST1, BURST1, BURST2, BURST2, BURST2};
    for (uint16_t colour : expected) {
        Tick(1);
        EXPECT_EQ(Shown(), colour);
    }
    Tick(1);
    EXPECT_EQ(Shown(), WHITE);
}

TEST_F(BallDrawingTest, TheShadowFallsOnTheGroundOrTheRoofBelowTheBall)
{
    ball.active = true;
    ball.x = 400;
    ball.y = 300;
    ball.z = 100;
    ball.ground_height = 0;
    ball.Draw(0, 0, &shadow);
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 400, 200), FIRE);
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 400, 400), SHADE);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, SHADE), 1);

    clear_to_color(cGraphics::double_buffer, WHITE);
    ball.ground_height = 62;
    ball.Draw(0, 0, &shadow);
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 400, 338), SHADE);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, SHADE), 1);
}

TEST_F(BallDrawingTest, NoShadowBelowTheSurfaceNorDuringTheBurst)
{
    ball.active = true;
    ball.x = 400;
    ball.y = 300;
    ball.z = 40;
    ball.ground_height = 62;
    ball.Draw(0, 0, &shadow);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, SHADE), 0);
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 400, 260), FIRE);

    ball.ground_height = 0;
    ball.exploding = 1;
    ball.timer = 4;
    ball.Draw(0, 0, &shadow);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, SHADE), 0);
}
