#include "platform/HeldKeys.h"

#include <allegro.h>
// After allegro.h, which it needs.
#include <xalleg.h>

namespace {
// The library may handle the focus change on its input thread, some frames after the new
// mode has opened, so carrying goes on for a second. Not for ever: keys go on showing as
// down on the keyboard when the player has moved to another window.
const int CARRY_FRAMES = 60;

int _frames_left = 0;
bool _noted[KEY_MAX];   // held before the switch and not seen up since
bool _carried[KEY_MAX]; // marked held again here, not by a key press

bool OnX11() { return system_driver && system_driver->id == SYSTEM_XWINDOWS && _xwin.display; }

// Which scancodes are down on the keyboard, through the library's own keycode table.
void ReadKeyboard(bool down[KEY_MAX])
{
    char keymap[32];
    XQueryKeymap(_xwin.display, keymap);
    for (int keycode = 0; keycode < 256; ++keycode) {
        const int scancode = _xwin.keycode_to_scancode[keycode];
        if (scancode > 0 && scancode < KEY_MAX && (keymap[keycode / 8] >> (keycode % 8) & 1))
            down[scancode] = true;
    }
}
} // namespace

void NoteHeldKeys()
{
    if (!OnX11())
        return;
    for (int scancode = 0; scancode < KEY_MAX; ++scancode) {
        _noted[scancode] = key[scancode];
        _carried[scancode] = false;
    }
    _frames_left = CARRY_FRAMES;
}

void CarryHeldKeys()
{
    if (_frames_left == 0 || !OnX11())
        return;
    --_frames_left;
    bool down[KEY_MAX] = {};
    XLOCK();
    ReadKeyboard(down);
    for (int scancode = 0; scancode < KEY_MAX; ++scancode) {
        if (!_noted[scancode])
            continue;
        if (!down[scancode]) {
            _noted[scancode] = false;
            if (_carried[scancode])
                key[scancode] = 0;
        } else if (!key[scancode]) {
            key[scancode] = 1;
            _carried[scancode] = true;
        }
    }
    XUNLOCK();
}
