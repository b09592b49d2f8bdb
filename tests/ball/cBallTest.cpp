#include "ball/cBall.h"

#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

namespace {
const uint16_t FIRE = 0xFFE0, BURST1 = 0x001F, BURST2 = 0xF800, WHITE = 0xFFFF, SHADE = SHADOW_MASK;

class BallTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cCity city;
    cBall ball;
    cImage shadow;
    // Well inside the city, so that every flight stays over the grid.
    const int start_x = 2000, start_y = 1500;

    void SetUp() override
    {
        FillCity(city, GRASS);
        Paint(ball.frames[0], 2, 2, FIRE);
        Paint(ball.frames[1], 2, 2, BURST1);
        Paint(ball.frames[2], 2, 2, BURST2);
        Paint(&shadow, 1, 1, WHITE);
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i)
            ball.Update(&city);
    }
    // The colour centred at the ball's screen point after one frame of drawing.
    uint16_t Shown()
    {
        clear_to_color(cGraphics::double_buffer, WHITE);
        ball.Draw(ball.x - 400, ball.y - 300 - ball.z, &shadow);
        return PixelAt(cGraphics::double_buffer, 400, 300);
    }
};

TEST_F(BallTest, OnOpenGroundItRestsAtZeroThenBurstsOnTheThirtySecondTickLoweringOneTile)
{
    ball.Create(start_x, start_y, 155, 3, -5, 10);
    Tick(31);
    EXPECT_EQ((Ints{0, 0}), (Ints{ball.z, ball.exploding}));
    EXPECT_EQ(FIRE & SHADE, Shown()) << "resting on the ground, it lies under its own shadow";

    // The burst tick moves the ball once more: to (x + 3 * 31 + 3, y - 5 * 31 - 5).
    BuildAt(city, start_x + 96, start_y - 160, 5);
    const int before = city.GetPopulation();
    Tick(1);
    // Height, climb, drift across and down, and bursting: a bounce off a roof keeps the drift.
    EXPECT_EQ((Ints{-21, 11, 3, -5, 1}),
              (Ints{ball.z, ball.speed_z, ball.speed_x, ball.speed_y, ball.exploding}));
    // The burst shows frame 1 for two frames and frame 2 for three, then the ball is free
    // and no longer draws.
    const uint16_t frames[] = {BURST1, BURST1, BURST2, BURST2, BURST2, WHITE};
    for (int tick = 32; tick <= 37; Tick(1), ++tick) {
        EXPECT_EQ(tick < 37, ball.active) << "tick " << tick;
        EXPECT_EQ(frames[tick - 32], Shown()) << "tick " << tick;
        EXPECT_EQ(before - 193, city.GetPopulation()) << "one storey per flight, tick " << tick;
    }
}
} // namespace
