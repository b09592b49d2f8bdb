#include "game/cWeapons.h"

#include "ball/cBall.h"
#include "game/Controls.h"
#include "game/FaerieBomb.h"
#include "game/FrameEvents.h"
#include "game/PlayRandom.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"

#include <cstdint>
#include <cstdlib>

namespace {
// A throw per facing. The random part of the sideways speed is PlayRandom() % spread - offset.
struct ThrowRow {
    int offset_x, offset_y; // start, pixels from the ground point
    int speed_x, speed_y;   // pixels per frame, before the random part and the boost
    bool random_x;          // which speed takes the random part
    int spread;
    bool Controls::*boost; // held while throwing: the ball goes 5 faster
    int boost_x, boost_y;
};
// Left and right throws both start 12 pixels left of the ground point: the hand that throws.
const ThrowRow THROWS[] = {
    {0, 9, 0, 5, true, 7, &Controls::down, 0, 5},      // front
    {0, -9, 0, -5, true, 7, &Controls::up, 0, -5},     // back
    {-12, 0, -7, 0, false, 5, &Controls::left, -5, 0}, // left
    {-12, 0, 7, 0, false, 5, &Controls::right, 5, 0},  // right
};
const int THROW_DELAY = 3; // frames: a throw in frame f allows the next in f + 4
const int LIFT_MIN = 7;    // upward speed of a throw: 7 to 13 pixels per frame
const int LIFT_RANGE = 7;

const int OUTER_GLOW_HALF = 48; // half the size of circle96x96
const int INNER_GLOW_HALF = 32;
const int GLOW_FRAMES_PER_STEP = 3; // the red glow changes every 3 blast frames
const int GLOW_STEPS = 15;          // and swings through 15 strengths: a 45-frame pulse
const int GLOW_MIDDLE = 7;
const int GLOW_BASE_MASK = 0x8000; // red's top bit always stays
const int GLOW_STEP_MASK = 0x1000;
const short BLUE_ONLY = 0x1f;

const int SPARKS = 25;
const int SPARK_SIZE = 24; // keeps a spark's corner a flame's width inside the area

const int RECHARGE_PERIOD = 30; // frames per unit of energy
} // namespace

void cWeapons::ThrowStep(const Controls& controls, cBall* const pool[BALL_POOL_SIZE], int gx,
                         int gy, int facing, int frame_counter, cFrameEvents& events)
{
    ++pool_cursor;
    cBall* candidate = pool[pool_cursor % BALL_POOL_SIZE];
    if (!controls.fire || frame_counter <= next_throw_frame || candidate->active)
        return;

    const ThrowRow& row = THROWS[facing];
    candidate->active = true;
    const int r1 = PlayRandom();
    const int r2 = PlayRandom();
    const int random_part = r2 % row.spread - row.spread / 2;
    candidate->Create(gx + row.offset_x, gy + row.offset_y, FLYING_ALTITUDE,
                      row.speed_x + (row.random_x ? random_part : 0),
                      row.speed_y + (row.random_x ? 0 : random_part), r1 % LIFT_RANGE + LIFT_MIN);
    if (controls.*row.boost) {
        candidate->speed_x += row.boost_x;
        candidate->speed_y += row.boost_y;
    }
    next_throw_frame = frame_counter + THROW_DELAY;
    events.Add(EVENT_THROW, gx, gy);
}

void cWeapons::BlastStep(const Controls& controls, cBall* const pool[BALL_POOL_SIZE], cCity* city,
                         int gx, int gy, cImage* outer_glow, cImage* inner_glow,
                         cFrameEvents& events)
{
    if (!controls.blast) {
        blast_key_held = false;
        return;
    }
    if (energy <= 0)
        return;

    const int n = ++glow_counter;
    const int strength = std::abs(n / GLOW_FRAMES_PER_STEP % GLOW_STEPS - GLOW_MIDDLE);
    const short red_glow =
        static_cast<short>(static_cast<uint16_t>(GLOW_BASE_MASK + strength * GLOW_STEP_MASK));
    const int centre_x = cGraphics::SCR_WIDTH / 2;
    const int centre_y = cGraphics::SCR_HEIGHT / 2;
    outer_glow->AndMaskDraw(centre_x - OUTER_GLOW_HALF, centre_y - OUTER_GLOW_HALF, red_glow);
    inner_glow->OrMaskDraw(centre_x - INNER_GLOW_HALF, centre_y - INNER_GLOW_HALF, BLUE_ONLY);

    if (!blast_key_held)
        events.Add(EVENT_BLAST_BEGUN, gx, gy);
    if (FaerieBomb(gx, gy, city, !blast_key_held))
        events.Add(EVENT_BLAST_STRIKE, gx, gy);
    if (--energy == 0)
        events.Add(EVENT_ENERGY_EMPTY, gx, gy);
    blast_key_held = true;

    for (int i = 0; i < SPARKS; ++i) {
        // Three draws per spark in this order, so that a seeded game replays the same sparks.
        const int y = PlayRandom() % (cGraphics::SCR_HEIGHT - SPARK_SIZE);
        const int x = PlayRandom() % (cGraphics::SCR_WIDTH - SPARK_SIZE);
        pool[0]->frames[1 + PlayRandom() % 2]->AndMaskDraw(x, y, BLUE_ONLY);
    }
}

void cWeapons::RechargeStep(int frame_counter)
{
    if (blast_key_held || frame_counter % RECHARGE_PERIOD != 0)
        return;
    if (++energy > MAX_ENERGY)
        energy = MAX_ENERGY;
}
