#include "ball/cBall.h"

#include "city/cCity.h"
#include "image/cImage.h"

#include <algorithm>

namespace {
const char* const FRAME_FILES[] = {
    "media/faerie_fire.pcx",
    "media/faerie_fire2.pcx",
    "media/faerie_fire3.pcx",
};
const int LAST_FRAME = 2;

const int PULL = 1;                 // pixels per tick per tick
const int FLIGHT_BEFORE_BURST = 30; // a bounce bursts the ball once timer is above this
const int BURST_START_TIMER = 3;    // with the tick's own increment the burst shows frame 1
const int BURST_LAST_TIMER = 7;     // the tick that finds the timer above this frees the ball
const int TICKS_PER_BURST_FRAME = 3;
} // namespace

cBall::cBall()
    : x(0), y(0), z(0), speed_x(0), speed_y(0), speed_z(0), active(false), ground_height(0),
      timer(0), exploding(0)
{
    for (int i = 0; i <= LAST_FRAME; ++i)
        frames[i] = new cImage(FRAME_FILES[i]);
}

cBall::~cBall()
{
    for (cImage* frame : frames)
        delete frame;
}

void cBall::Create(int x, int y, int z, int speed_x, int speed_y, int speed_z)
{
    active = true;
    this->x = x;
    this->y = y;
    this->z = z;
    this->speed_x = speed_x;
    this->speed_y = speed_y;
    this->speed_z = speed_z;
    timer = 0;
    exploding = 0;
}

cBall::Outcome cBall::Update(cCity* city)
{
    if (!active)
        return NOTHING;
    if (exploding) {
        if (timer > BURST_LAST_TIMER)
            active = false;
        ++timer;
        return NOTHING;
    }

    x += speed_x;
    y += speed_y;
    z += speed_z;
    speed_z -= PULL;
    ground_height = city->GetBuildingHeight(x, y) * city->GetStoreyHeight();
    // A ball exactly on the surface rests there for the tick; only one below it bounces.
    Outcome outcome = NOTHING;
    if (z < ground_height) {
        speed_z = -speed_z / 2;
        outcome = ground_height == 0 ? BOUNCED_ON_GROUND : BOUNCED_ON_ROOF;
        // Only the ground brakes the ball; a roof bounce keeps its drift.
        if (ground_height == 0) {
            speed_x /= 2;
            speed_y /= 2;
        }
        if (timer > FLIGHT_BEFORE_BURST) {
            exploding = 1;
            city->LowerBuilding(x, y);
            timer = BURST_START_TIMER;
            outcome = BURST;
        }
    }
    ++timer;
    return outcome;
}

void cBall::Draw(int view_x, int view_y, cImage* shadow)
{
    if (!active)
        return;
    const int screen_x = x - view_x;
    const int screen_y = y - view_y - z;
    if (exploding) {
        // The fields are public: a timer set from outside must not index past the frames.
        const int frame = std::clamp(timer / TICKS_PER_BURST_FRAME, 1, LAST_FRAME);
        frames[frame]->DrawCentred(screen_x, screen_y);
        return;
    }
    frames[0]->DrawCentred(screen_x, screen_y);
    if (ground_height <= z)
        shadow->AndMaskDraw(screen_x, y - view_y + (z - ground_height), SHADOW_MASK);
}
