#include "game/Controls.h"

#include "game/CloseButton.h"
#include "game/FocusWatch.h"
#include "game/Gamepad.h"
#include "game/HeldKeys.h"
#include "platform/QuitRequests.h"

#include <allegro.h>

namespace {
// The library never sees the Pause key let go, so it keeps the key as a state that each press
// flips; a flip counts as the key held for that one sample.
bool PauseKeyPressed()
{
    static bool last_state = false;
    const bool state = key[KEY_PAUSE];
    const bool flipped = state != last_state;
    last_state = state;
    return flipped;
}
} // namespace

Controls ReadKeyboard()
{
    Controls controls;
    controls.up = key[KEY_UP];
    controls.down = key[KEY_DOWN];
    controls.left = key[KEY_LEFT];
    controls.right = key[KEY_RIGHT];
    controls.fire = key[KEY_LSHIFT];
    controls.blast = key[KEY_LCONTROL];
    controls.switch_mode = key[KEY_F1];
    controls.escape = key[KEY_ESC];
    // Alt+Enter belongs to the window: it must not also choose a menu entry.
    const bool alt = key[KEY_ALT] || key[KEY_ALTGR];
    controls.enter = key[KEY_ENTER] && !alt;
    controls.window_toggle = key[KEY_ENTER] && alt;
    controls.pause = key[KEY_P] || PauseKeyPressed();
    controls.mute = key[KEY_M];
    return controls;
}

Controls SampleControls()
{
    // Keys still held through a mode switch are set again before they are read.
    CarryHeldKeys();
    Controls controls = ReadKeyboard();
    AddGamepad(&controls);
    controls.escape = controls.escape || CloseButtonPressed() || QuitRequested();
    controls.focus_lost = TakeFocusLoss();
    return controls;
}
