#include "game/cPlayPhase.h"

#include "ball/cBall.h"
#include "city/cCity.h"
#include "game/HeldKeys.h"
#include "game/Hud.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"

#include <cstdlib>

namespace {
const char* const FAERIE_FILES[] = {
    "media/faerie.pcx",
    "media/faerie_back.pcx",
    "media/faerie_left.pcx",
    "media/faerie_right.pcx",
};

const int STEP = 5;              // pixels per frame
const int MAX_STOREYS_UNDER = 5; // she cannot fly into anything taller
// Left limits keep the ground point at x 576 or more in both modes.
const int LEFT_LIMIT_NARROW = 176;
const int LEFT_LIMIT_WIDE = 64;
const int MODE_SHIFT = 112; // half of 1024 - 800: the ground point stays put

const int SHADOW_HALF_WIDTH = 24;
const int SHADOW_DROP = FLYING_ALTITUDE + 32; // from the screen centre to the shadow's top

const int BOB_FRAMES_PER_PIXEL = 10;
const int BOB_STEPS = 11; // 5, 4, ..., 0, ..., 5 pixels: a 110-frame cycle
const int BOB_DEEPEST = 5;

const EventKind EVENT_OF[] = {EVENT_KIND_COUNT, EVENT_BOUNCE_ROOF, EVENT_BOUNCE_GROUND,
                              EVENT_BURST}; // by cBall::Outcome; NOTHING is never added
} // namespace

const cPlayPhase::Screen cPlayPhase::DISPLAY = {cGraphics::SetMode, cGraphics::DrawBuffer};

cPlayPhase::cPlayPhase(MIDI* music, Screen screen) : music(music), screen(screen)
{
    for (int i = 0; i < 4; ++i)
        faerie[i] = new cImage(FAERIE_FILES[i]);
    shadow = new cImage("media/shadow.pcx");
    small_shadow = new cImage("media/small_shadow.pcx");
    outer_glow = new cImage("media/circle96x96.pcx");
    inner_glow = new cImage("media/circle64x64.pcx");
    pop_sign = new cImage("media/pop_sign.pcx");
    for (cBall*& ball : pool)
        ball = new cBall();
    city = new cCity();
    city_width = city->GetCityWidthPixel();
    city_height = city->GetCityHeightPixel();

    int start_x, start_y;
    city->GetStartingPoint(&start_x, &start_y);
    view_x = start_x - cGraphics::SCR_WIDTH / 2;
    view_y = start_y - cGraphics::SCR_HEIGHT / 2 - FLYING_ALTITUDE;
}

cPlayPhase::~cPlayPhase()
{
    delete city;
    // destroy_midi stops the tune itself when it is playing.
    if (music)
        destroy_midi(music);
    for (int i = BALL_POOL_SIZE - 1; i >= 0; --i)
        delete pool[i];
    delete pop_sign;
    delete inner_glow;
    delete outer_glow;
    delete small_shadow;
    delete shadow;
    for (int i = 3; i >= 0; --i)
        delete faerie[i];
}

bool cPlayPhase::Frame(const Controls& controls)
{
    events.Clear();
    // Only here and at a pause: a frame that has begun is always finished and presented.
    if (controls.escape)
        return false;
    if (HoldStill(controls))
        return true;
    Fly(controls);
    if (controls.switch_mode && !switch_key_held)
        SwitchMode();
    switch_key_held = controls.switch_mode;
    weapons.ThrowStep(controls, pool, GroundX(), GroundY(), facing, frame_counter, events);
    UpdateFireballs();
    city->DrawBase(view_x, view_y);
    DrawFireballs(false);
    DrawFaerie();
    weapons.BlastStep(controls, pool, city, GroundX(), GroundY(), outer_glow, inner_glow, events);
    weapons.RechargeStep(frame_counter);
    DrawFireballs(true);
    city->DrawExt(view_x, view_y);
    DrawHud(pop_sign, city->GetPopulation(), weapons.energy, frame_counter);
    screen.present();
    ++frame_counter;
    return true;
}

// Losing the focus only ever pauses: the player resumes when back.
bool cPlayPhase::HoldStill(const Controls& controls)
{
    const bool was_paused = paused;
    if (controls.pause && !pause_key_held)
        paused = !paused;
    pause_key_held = controls.pause;
    if (controls.focus_lost)
        paused = true;
    // The buffer still holds the last frame: the panel goes over it, shown once.
    if (paused && !was_paused) {
        DrawPausePanel();
        screen.present();
    }
    return paused;
}

int cPlayPhase::GroundX() const { return view_x + cGraphics::SCR_WIDTH / 2; }

int cPlayPhase::GroundY() const { return view_y + cGraphics::SCR_HEIGHT / 2 + FLYING_ALTITUDE; }

bool cPlayPhase::TooTallUnderFaerie()
{
    return city->GetBuildingHeight(GroundX(), GroundY()) > MAX_STOREYS_UNDER;
}

// Each key acts on its own, so diagonals combine and opposite keys cancel.
void cPlayPhase::Fly(const Controls& controls)
{
    if (controls.up)
        Step(view_y, -STEP, 0, FACING_BACK);
    if (controls.down)
        Step(view_y, STEP, city_height - cGraphics::SCR_HEIGHT - 1, FACING_FRONT);
    if (controls.left) {
        const bool wide = cGraphics::GetMode() == cGraphics::WIDE_MODE;
        Step(view_x, -STEP, wide ? LEFT_LIMIT_WIDE : LEFT_LIMIT_NARROW, FACING_LEFT);
    }
    if (controls.right)
        Step(view_x, STEP, city_width - cGraphics::SCR_WIDTH - 1, FACING_RIGHT);
}

// The limit applies only to the coordinate moved and only in the direction moved; the undo
// after it is always a whole step, even when the limit cut the step short, and she turns
// even when the step is undone.
void cPlayPhase::Step(int& coordinate, int step, int limit, int new_facing)
{
    coordinate += step;
    if (step < 0 ? coordinate < limit : coordinate > limit)
        coordinate = limit;
    if (TooTallUnderFaerie())
        coordinate -= step;
    facing = new_facing;
}

void cPlayPhase::SwitchMode()
{
    NoteHeldKeys();
    if (cGraphics::GetMode() == cGraphics::WIDE_MODE) {
        screen.set_mode(cGraphics::NARROW_MODE);
        city->CalcScreenTiles();
        view_x += MODE_SHIFT;
    } else {
        screen.set_mode(cGraphics::WIDE_MODE);
        city->CalcScreenTiles();
        view_x -= MODE_SHIFT;
    }
}

void cPlayPhase::UpdateFireballs()
{
    for (cBall* ball : pool) {
        const cBall::Outcome outcome = ball->Update(city);
        if (outcome != cBall::NOTHING)
            events.Add(EVENT_OF[outcome], ball->x, ball->y);
    }
}

void cPlayPhase::DrawFireballs(bool in_front)
{
    const int ground_y = GroundY();
    for (cBall* ball : pool)
        if ((ball->y >= ground_y) == in_front)
            ball->Draw(view_x, view_y, small_shadow);
}

void cPlayPhase::DrawFaerie()
{
    const int roof = city->GetBuildingHeight(GroundX(), GroundY()) * city->GetStoreyHeight();
    // Over a roof higher than she flies her shadow would fall above her: none is drawn.
    if (roof <= FLYING_ALTITUDE)
        shadow->AndMaskDraw(cGraphics::SCR_WIDTH / 2 - SHADOW_HALF_WIDTH,
                            cGraphics::SCR_HEIGHT / 2 + SHADOW_DROP - roof, SHADOW_MASK);
    faerie[facing]->DrawCentred(cGraphics::SCR_WIDTH / 2, cGraphics::SCR_HEIGHT / 2 + Bob());
}

int cPlayPhase::Bob() const
{
    return std::abs(frame_counter / BOB_FRAMES_PER_PIXEL % BOB_STEPS - BOB_DEEPEST);
}
