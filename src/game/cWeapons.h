#pragma once

#include "game/PlayTypes.h"

class cBall;
class cFrameEvents;
class cCity;
class cImage;
struct Controls;

// The faerie's two weapons, as three steps the play frame calls in a fixed order:
// left Shift throws fireballs from the pool the way she faces; left Control sets off the
// blast, which glows, sparks and strikes while energy lasts; energy refills while the
// blast key is up. Each step reads the frame's controls and adds what it did to the frame's
// events, at map points.
class cWeapons {
public:
    static const int MAX_ENERGY = 121;

    int pool_cursor = 0;         // the throw candidate is pool[pool_cursor % 8], moved each frame
    int next_throw_frame = -1;   // a throw needs a frame counter above this
    int energy = MAX_ENERGY;     // one unit per blast frame
    bool blast_key_held = false; // true after a blast frame, false once the key is up
    int glow_counter = 0;        // blast frames ever, for the glow's pulse

    // After movement: throws the candidate fireball from ground point (gx, gy) if the throw
    // is asked for, the throw delay has passed and the candidate is free.
    void ThrowStep(const Controls& controls, cBall* const pool[BALL_POOL_SIZE], int gx, int gy,
                   int facing, int frame_counter, cFrameEvents& events);

    // Right after the faerie is drawn: while the blast is asked for and energy lasts, draws
    // the glow around the screen centre, strikes around (gx, gy) and scatters sparks made
    // from pool[0]'s burst frames.
    void BlastStep(const Controls& controls, cBall* const pool[BALL_POOL_SIZE], cCity* city, int gx,
                   int gy, cImage* outer_glow, cImage* inner_glow, cFrameEvents& events);

    // Right after the blast step: one unit back every 30th frame while the key is up.
    void RechargeStep(int frame_counter);
};
