#include "game/HeldKeys.h"

#include "platform/KeyboardState.h"

#include <allegro.h>

namespace {
// The library may handle the focus change on its input thread, some frames after the new
// mode has opened, so keys are marked held again for a second. Not for ever: keys go on
// showing as down on the keyboard when the player has moved to another window.
const int CARRY_FRAMES = 60;

int _frames_left = 0;
bool _noted[KEY_MAX];   // held before the switch and not seen up since
bool _carried[KEY_MAX]; // marked held again here, not by a key press
int _carried_count = 0;
} // namespace

void NoteHeldKeys()
{
    bool down[KEY_MAX] = {};
    if (!ReadKeyboardState(down)) // nothing could be carried
        return;
    for (int scancode = 0; scancode < KEY_MAX; ++scancode)
        _noted[scancode] = key[scancode];
    _frames_left = CARRY_FRAMES;
}

void CarryHeldKeys()
{
    bool down[KEY_MAX] = {};
    if ((_frames_left == 0 && _carried_count == 0) || !ReadKeyboardState(down))
        return;
    const bool marking = _frames_left > 0;
    if (marking)
        --_frames_left;
    for (int scancode = 0; scancode < KEY_MAX; ++scancode) {
        // A key marked here is let go here too, however long after: the library saw it go
        // up when its window lost the keyboard, and on Windows it never reports that key's
        // release again.
        if (_carried[scancode] && !down[scancode]) {
            key[scancode] = 0;
            _carried[scancode] = false;
            --_carried_count;
        }
        if (!marking || !_noted[scancode])
            continue;
        if (!down[scancode]) {
            _noted[scancode] = false;
        } else if (!key[scancode]) {
            key[scancode] = 1;
            _carried_count += !_carried[scancode];
            _carried[scancode] = true;
        }
    }
}
