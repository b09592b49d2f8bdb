#include "game/HeldKeys.h"

#include "platform/KeyboardState.h"

#include <allegro.h>

namespace {
// The library may handle the focus change on its input thread, some frames after the new
// mode has opened, so carrying goes on for a second. Not for ever: keys go on showing as
// down on the keyboard when the player has moved to another window.
const int CARRY_FRAMES = 60;

int _frames_left = 0;
bool _noted[KEY_MAX];   // held before the switch and not seen up since
bool _carried[KEY_MAX]; // marked held again here, not by a key press
} // namespace

void NoteHeldKeys()
{
    bool down[KEY_MAX] = {};
    if (!ReadKeyboardState(down)) // nothing could be carried
        return;
    for (int scancode = 0; scancode < KEY_MAX; ++scancode) {
        _noted[scancode] = key[scancode];
        _carried[scancode] = false;
    }
    _frames_left = CARRY_FRAMES;
}

void CarryHeldKeys()
{
    bool down[KEY_MAX] = {};
    if (_frames_left == 0 || !ReadKeyboardState(down))
        return;
    --_frames_left;
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
}
