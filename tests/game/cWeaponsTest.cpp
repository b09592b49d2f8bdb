#include "game/cWeapons.h"
#include "ball/cBall.h"
#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
const uint16_t TRANSPARENT = 0xF81F;
const int PEOPLE_PER_HIT = 193;
const int GX = 2624, GY = 1488; // the starting point: every struck point lies in the city

class WeaponsTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cCity city;
    cBall* pool[BALL_POOL_SIZE];
    cImage outer_glow, inner_glow;
    cWeapons weapons;

    WeaponsTest()
    {
        ReleaseAllKeys();
        for (cBall*& ball : pool)
            ball = new cBall();
    }
    ~WeaponsTest() override
    {
        for (cBall* ball : pool)
            delete ball;
        ReleaseAllKeys();
    }

    int ActiveCount()
    {
        int count = 0;
        for (cBall* ball : pool)
            count += ball->active;
        return count;
    }

    // One frame's blast and recharge steps; returns the storeys struck, through the population.
    int BlastFrame(int frame_counter)
    {
        const int before = city.GetPopulation();
        weapons.BlastStep(pool, &city, GX, GY, &outer_glow, &inner_glow);
        weapons.RechargeStep(frame_counter);
        return (before - city.GetPopulation()) / PEOPLE_PER_HIT;
    }
};
} // namespace

TEST_F(WeaponsTest, TheFirstThrowComesInFrameZeroFromPoolIndexOne)
{
    key[KEY_LSHIFT] = 1;
    weapons.ThrowStep(pool, GX, GY, 0, 0);
    EXPECT_TRUE(pool[1]->active);
    EXPECT_EQ(ActiveCount(), 1);
    EXPECT_EQ(weapons.next_throw_frame, 3);
}

TEST_F(WeaponsTest, ThrowsComeAtMostEveryFourthFrame)
{
    key[KEY_LSHIFT] = 1;
    for (int frame = 0; frame <= 4; ++frame) {
        weapons.ThrowStep(pool, GX, GY, 0, frame);
        EXPECT_EQ(ActiveCount(), frame < 4 ? 1 : 2) << "frame " << frame;
    }
    EXPECT_TRUE(pool[5]->active);
}

TEST_F(WeaponsTest, WithAllEightInFlightShiftDoesNothingAndTheDelayStays)
{
    for (cBall* ball : pool)
        ball->Create(GX, GY, 155, 0, 0, 7);
    key[KEY_LSHIFT] = 1;
    for (int frame = 0; frame < 8; ++frame)
        weapons.ThrowStep(pool, GX, GY, 0, frame);
    EXPECT_EQ(weapons.next_throw_frame, -1);
    EXPECT_EQ(weapons.pool_cursor, 8);
    for (cBall* ball : pool)
        EXPECT_EQ(ball->x, GX);
}

TEST_F(WeaponsTest, EachFacingThrowsFromItsHandWithRandomSpreadAndKeyBoost)
{
    const struct {
        int facing, arrow;
        bool boosted;
        int x, y, speed_x, speed_y; // speed of the random side given apart
        bool random_x;
    } cases[] = {
        {0, KEY_DOWN, false, GX, GY + 9, 0, 5, true},
        {0, KEY_DOWN, true, GX, GY + 9, 0, 10, true},
        {1, KEY_UP, false, GX, GY - 9, 0, -5, true},
        {1, KEY_UP, true, GX, GY - 9, 0, -10, true},
        {2, KEY_LEFT, false, GX - 12, GY, -7, 0, false},
        {2, KEY_LEFT, true, GX - 12, GY, -12, 0, false},
        {3, KEY_RIGHT, false, GX - 12, GY, 7, 0, false},
        {3, KEY_RIGHT, true, GX - 12, GY, 12, 0, false},
    };
    for (const auto& c : cases) {
        cWeapons fresh;
        key[KEY_LSHIFT] = 1;
        key[c.arrow] = c.boosted;
        std::srand(77);
        const int r1 = std::rand(), r2 = std::rand();
        std::srand(77);
        fresh.ThrowStep(pool, GX, GY, c.facing, 0);
        key[c.arrow] = 0;

        cBall* ball = pool[1];
        SCOPED_TRACE(testing::Message() << "facing " << c.facing << " boosted " << c.boosted);
        ASSERT_TRUE(ball->active);
        EXPECT_EQ(ball->x, c.x);
        EXPECT_EQ(ball->y, c.y);
        EXPECT_EQ(ball->z, 155);
        EXPECT_EQ(ball->speed_z, r1 % 7 + 7);
        EXPECT_EQ(ball->speed_x, c.speed_x + (c.random_x ? r2 % 7 - 3 : 0));
        EXPECT_EQ(ball->speed_y, c.speed_y + (c.random_x ? 0 : r2 % 5 - 2));
        ball->active = false;
    }
}

TEST_F(WeaponsTest, AFullBlastStrikesGrowingSquaresInFrames1_31_61And91)
{
    key[KEY_LCONTROL] = 1;
    int total = 0;
    for (int blast_frame = 1; blast_frame <= 121; ++blast_frame) {
        const int struck = BlastFrame(blast_frame - 1);
        total += struck;
        const int expected = blast_frame == 1    ? 1
                             : blast_frame == 31 ? 9
                             : blast_frame == 61 ? 25
                             : blast_frame == 91 ? 49
                                                 : 0;
        EXPECT_EQ(struck, expected) << "blast frame " << blast_frame;
    }
    EXPECT_EQ(total, 84);
    EXPECT_EQ(weapons.energy, 0);
}

TEST_F(WeaponsTest, WhenExhaustedTheHeldKeyGlowsNotStrikesNotAndDoesNotRecharge)
{
    key[KEY_LCONTROL] = 1;
    for (int frame = 0; frame < 121; ++frame)
        BlastFrame(frame);
    clear_to_color(cGraphics::double_buffer, 0);
    const int glows = weapons.glow_counter;
    for (int frame = 121; frame <= 240; ++frame)
        EXPECT_EQ(BlastFrame(frame), 0);
    EXPECT_EQ(weapons.energy, 0);
    EXPECT_EQ(weapons.glow_counter, glows);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, 0), 801 * 601);

    key[KEY_LCONTROL] = 0;
    BlastFrame(270);
    EXPECT_EQ(weapons.energy, 1);
}

TEST_F(WeaponsTest, ABlastBegunWithFortyEnergyStrikesTwice)
{
    weapons.energy = 40;
    key[KEY_LCONTROL] = 1;
    int total = 0;
    for (int frame = 0; frame < 200; ++frame)
        total += BlastFrame(frame);
    EXPECT_EQ(total, 1 + 9);
}

TEST_F(WeaponsTest, ReleasingForOneFrameRestartsWithTheSinglePointStrike)
{
    key[KEY_LCONTROL] = 1;
    for (int frame = 1; frame <= 10; ++frame)
        BlastFrame(frame);
    key[KEY_LCONTROL] = 0;
    BlastFrame(11);
    key[KEY_LCONTROL] = 1;
    EXPECT_EQ(BlastFrame(12), 1);
    int later = 0;
    for (int frame = 13; frame <= 42; ++frame)
        later += BlastFrame(frame);
    EXPECT_EQ(later, 9);
}

TEST_F(WeaponsTest, RechargeComesEveryThirtiethFrameWhileTheKeyIsUpAndStopsAt121)
{
    weapons.energy = 119;
    for (int frame = 1; frame < 30; ++frame)
        weapons.RechargeStep(frame);
    EXPECT_EQ(weapons.energy, 119);
    weapons.RechargeStep(30);
    EXPECT_EQ(weapons.energy, 120);
    weapons.RechargeStep(60);
    weapons.RechargeStep(90);
    EXPECT_EQ(weapons.energy, 121);

    key[KEY_LCONTROL] = 1;
    BlastFrame(120);
    EXPECT_EQ(weapons.energy, 120); // spent, and no refill in a blast frame
}

TEST_F(WeaponsTest, AKeyPressedOnEmptyEnergyLetsOneUnitBackThenBlastsOnce)
{
    weapons.energy = 0;
    key[KEY_LCONTROL] = 1;
    EXPECT_EQ(BlastFrame(29), 0);
    EXPECT_FALSE(weapons.blast_key_held);
    EXPECT_EQ(BlastFrame(30), 0);
    EXPECT_EQ(weapons.energy, 1);
    EXPECT_EQ(BlastFrame(31), 1);
    EXPECT_EQ(weapons.energy, 0);
    EXPECT_EQ(BlastFrame(60), 0);
    EXPECT_EQ(weapons.energy, 0);
}

TEST_F(WeaponsTest, TheGlowReddensAndPulsesAroundTheScreenCentre)
{
    Paint(&outer_glow, 1, 1, 0);
    Paint(&inner_glow, 1, 1, 0);
    Paint(pool[0]->frames[1], 1, 1, TRANSPARENT);
    Paint(pool[0]->frames[2], 1, 1, TRANSPARENT);
    key[KEY_LCONTROL] = 1;
    const struct {
        int blast_frame;
        uint16_t red;
    } cases[] = {{1, 0xF000}, {3, 0xE000}, {21, 0x8000}, {44, 0xF000}, {45, 0xF000}};
    for (int blast_frame = 1; blast_frame <= 45; ++blast_frame) {
        clear_to_color(cGraphics::double_buffer, 0xFFFF);
        BlastFrame(1);
        for (const auto& c : cases) {
            if (c.blast_frame == blast_frame) {
                EXPECT_EQ(PixelAt(cGraphics::double_buffer, 352, 252), c.red)
                    << "blast frame " << blast_frame;
            }
        }
        EXPECT_EQ(PixelAt(cGraphics::double_buffer, 368, 268), 0xFFFF);
    }
    clear_to_color(cGraphics::double_buffer, 0);
    BlastFrame(1);
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 368, 268), 0x001F);
}

TEST_F(WeaponsTest, TwentyFiveSparksTakeTheirRandomNumbersYThenXThenFrame)
{
    Paint(&outer_glow, 1, 1, TRANSPARENT);
    Paint(&inner_glow, 1, 1, TRANSPARENT);
    Paint(pool[0]->frames[1], 1, 1, 0);
    Paint(pool[0]->frames[2], 2, 1, 0);
    clear_to_color(cGraphics::double_buffer, 0xFFFF);
    key[KEY_LCONTROL] = 1;

    std::srand(5);
    int xs[25], ys[25], frames[25];
    for (int i = 0; i < 25; ++i) {
        ys[i] = std::rand() % (600 - 24);
        xs[i] = std::rand() % (800 - 24);
        frames[i] = 1 + std::rand() % 2;
    }
    std::srand(5);
    BlastFrame(1);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(PixelAt(cGraphics::double_buffer, xs[i], ys[i]), 0x001F) << "spark " << i;
        if (frames[i] == 2) {
            EXPECT_EQ(PixelAt(cGraphics::double_buffer, xs[i] + 1, ys[i]), 0x001F);
        }
    }
    int sparked = 0;
    for (int i = 0; i < 25; ++i)
        sparked += frames[i];
    EXPECT_LE(CountPixels(cGraphics::double_buffer, 0x001F), sparked);
    EXPECT_GE(CountPixels(cGraphics::double_buffer, 0x001F), 1);
}
