#pragma once

#include "game/Controls.h"
#include "game/FrameEvents.h"
#include "game/PlayTypes.h"
#include "game/cWeapons.h"

#include <allegro.h>

class cBall;
class cCity;
class cImage;

// The play phase: the faerie flies over the city with the view following her, throws
// fireballs and sets off blasts until Escape, and pauses on P. It owns its images, the
// fireball pool, the city and, from its start, the music, and releases them in reverse order
// when deleted.
//
// Frame() is one whole frame for one record of controls; a test or a replay steps frames
// without a display by giving it a Screen that works on memory bitmaps.
class cPlayPhase {
public:
    // How a frame reaches the display: the two calls that need a real video mode.
    struct Screen {
        void (*set_mode)(int mode); // must leave cGraphics sized and buffered for the mode
        void (*present)();
    };
    static const Screen DISPLAY; // cGraphics::SetMode and cGraphics::DrawBuffer

    cImage* faerie[4]; // sprites by facing
    cImage* shadow;
    cImage* small_shadow; // under every fireball
    cImage* outer_glow;   // circle96x96, the blast's red glow
    cImage* inner_glow;   // circle64x64, its blue core
    cImage* pop_sign;
    cBall* pool[BALL_POOL_SIZE];
    cCity* city;
    MIDI* music; // may be null when the tune could not be read

    int city_width; // pixels, read once
    int city_height;
    int view_x; // map point shown at the play area's top-left corner at ground level
    int view_y;
    int facing = FACING_FRONT;
    int frame_counter = 0; // presented frames
    cWeapons weapons;

    // Creates everything and places the view so that the faerie is over the city's
    // starting point.
    cPlayPhase(MIDI* music, Screen screen = DISPLAY);
    ~cPlayPhase();
    cPlayPhase(const cPlayPhase&) = delete;
    cPlayPhase& operator=(const cPlayPhase&) = delete;

    // One frame: false, before anything else, when the controls ask to stop; otherwise
    // moves, throws, updates, draws, presents and counts the frame, unless play is paused.
    // A press of pause, or the focus lost, freezes everything: the frame that pauses
    // presents the last picture under the pause panel, paused frames change nothing and
    // present nothing, and the press that resumes runs its frame as usual.
    bool Frame(const Controls& controls);
    bool Paused() const { return paused; }

    // What happened in the last frame, in order; empty after a paused frame.
    const cFrameEvents& Events() const { return events; }

    // The map point under the faerie, for the current view and play area.
    int GroundX() const;
    int GroundY() const;

    // The parts of a frame, in the order Frame() runs them.
    void Fly(const Controls& controls); // move the view 5 pixels, turn, refuse tall buildings
    void SwitchMode();                  // between the 800 and 1024 pixel wide play areas
    void UpdateFireballs();
    void DrawFireballs(bool in_front); // split by the fireballs' y against the ground point
    void DrawFaerie();                 // her shadow, then her sprite with its bob
    int Bob() const;                   // pixels she hangs below the screen centre this frame

private:
    Screen screen;
    cFrameEvents events;
    bool paused = false;
    bool pause_key_held = false;  // in the last frame, so that a held key toggles once
    bool switch_key_held = false; // likewise for the switch between play areas

    bool HoldStill(const Controls& controls); // true while paused
    bool TooTallUnderFaerie();
    void Step(int& coordinate, int step, int limit, int new_facing);
};
