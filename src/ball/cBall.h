#pragma once

class cCity;
class cImage;

// One fireball of the faerie's fixed pool. It flies in a straight line while a constant
// pull bends its height into an arc, bounces off roofs and the ground, and on its first
// bounce from its 32nd tick of flight on it bursts, knocking one storey off the building
// under it. One Update is one tick (one frame). The play phase reads and writes some
// fields directly (active, y, speed_x, speed_y, frames), so they stay public.
class cBall {
public:
    // What a tick did that others may react to; a burst comes on a bounce and is told instead.
    enum Outcome { NOTHING, BOUNCED_ON_ROOF, BOUNCED_ON_GROUND, BURST };

    int x; // map pixels
    int y;
    int z;       // height above ground level in pixels; may lie below the surface under it
    int speed_x; // pixels per tick
    int speed_y;
    int speed_z;       // positive is upwards
    cImage* frames[3]; // owned: 0 in flight, 1 and 2 the burst
    bool active;       // flying or bursting; false means free to throw
    int ground_height; // pixels, the surface under the ball at its last flying tick
    int timer;         // ticks since launch, restarted at the burst
    int exploding;     // 0 while flying, 1 during the burst

    cBall();
    ~cBall();
    cBall(const cBall&) = delete;
    cBall& operator=(const cBall&) = delete;

    // Starts a new flight from any state.
    void Create(int x, int y, int z, int speed_x, int speed_y, int speed_z);

    // One tick: moves, then pulls, bounces, bursts; during the burst counts down to free.
    // The bounce or burst happens at (x, y) as they stand afterwards.
    Outcome Update(cCity* city);

    // Draws the ball into the double buffer for the view origin (view_x, view_y); in flight
    // it darkens the ground under it with the shadow image while it is above the surface.
    void Draw(int view_x, int view_y, cImage* shadow);
};
