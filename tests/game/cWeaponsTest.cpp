#include "game/cWeapons.h"

#include "ball/cBall.h"
#include "city/cCity.h"
#include "game/FrameEvents.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
const uint16_t WHITE = 0xFFFF, BLUE = 0x001F;
const int PEOPLE_PER_HIT = 193;
const int GX = 2624, GY = 1488; // the starting point: every struck point lies in the city
const Controls BLAST = Held({&Controls::blast}), NONE;

class WeaponsTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cCity city;
    cBall balls[BALL_POOL_SIZE];
    cBall* pool[BALL_POOL_SIZE];
    cImage outer_glow, inner_glow;
    cWeapons weapons;
    cFrameEvents events;

    WeaponsTest()
    {
        for (int i = 0; i < BALL_POOL_SIZE; ++i)
            pool[i] = &balls[i];
    }

    // One frame's blast and recharge steps; returns the storeys struck, through the population.
    int BlastFrame(int frame_counter, const Controls& controls = BLAST)
    {
        const int before = city.GetPopulation();
        events.Clear();
        weapons.BlastStep(controls, pool, &city, GX, GY, &outer_glow, &inner_glow, events);
        weapons.RechargeStep(frame_counter);
        return (before - city.GetPopulation()) / PEOPLE_PER_HIT;
    }
};

TEST_F(WeaponsTest, AFullBlastStrikesInFrames1_31_61And91ThenTheHeldKeyDoesNothing)
{
    const int squares[] = {1, 9, 25, 49};
    // Exhausted after 121 frames, the held key neither strikes nor lets energy come back.
    for (int blast_frame = 1; blast_frame <= 240; ++blast_frame) {
        const int struck = BlastFrame(blast_frame - 1);
        const bool strikes = blast_frame % 30 == 1 && blast_frame < 121;
        EXPECT_EQ(strikes ? squares[blast_frame / 30] : 0, struck) << "blast frame " << blast_frame;
        // Told: begun in the first frame, each strike, and empty in the last.
        EXPECT_EQ(strikes + (blast_frame == 1) + (blast_frame == 121), events.Count())
            << "blast frame " << blast_frame;
    }
    EXPECT_EQ(0, weapons.energy);
    // Let go, it comes back a unit every thirtieth frame up to 121.
    weapons.energy = 120;
    for (int frame = 270; frame <= 330; ++frame)
        BlastFrame(frame, NONE);
    EXPECT_EQ(121, weapons.energy);
}

TEST_F(WeaponsTest, EachBlastFrameGlowsAtTheCentreAndDrawsTwentyFiveSparks)
{
    std::srand(5); // sparks that do not overlap
    // Each image a black stencil: the glows by their corners, sparks one or two pixels wide.
    Paint(&outer_glow, 1, 1, 0);
    Paint(&inner_glow, 1, 1, 0);
    Paint(pool[0]->frames[1], 1, 1, 0);
    Paint(pool[0]->frames[2], 2, 1, 0);
    // The red mask left on white at the outer glow's corner, by blast frame; 0: not checked.
    uint16_t red[46] = {};
    red[1] = red[44] = red[45] = 0xF000, red[3] = 0xE000, red[21] = 0x8000;
    for (int blast_frame = 1; blast_frame <= 45; ++blast_frame) {
        clear_to_color(cGraphics::double_buffer, WHITE);
        BlastFrame(1);
        if (red[blast_frame]) {
            EXPECT_EQ(red[blast_frame], PixelAt(cGraphics::double_buffer, 352, 252))
                << "blast frame " << blast_frame;
        }
        EXPECT_EQ(WHITE, PixelAt(cGraphics::double_buffer, 368, 268)) << "OR blue on white";
        const int sparks = CountPixels(cGraphics::double_buffer, BLUE); // one or two pixels each
        EXPECT_TRUE(sparks >= 25 && sparks <= 50) << sparks << " blue, blast frame " << blast_frame;
    }
    clear_to_color(cGraphics::double_buffer, 0);
    BlastFrame(1);
    EXPECT_EQ(BLUE, PixelAt(cGraphics::double_buffer, 368, 268));
}
} // namespace
