#include "game/Controls.h"

#include "game/CloseButton.h"
#include "game/Gamepad.h"

#include <allegro.h>

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
    controls.pause = key[KEY_P] || key[KEY_PAUSE];
    controls.mute = key[KEY_M];
    return controls;
}

Controls SampleControls()
{
    Controls controls = ReadKeyboard();
    AddGamepad(&controls);
    controls.escape = controls.escape || CloseButtonPressed();
    return controls;
}
