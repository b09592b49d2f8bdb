#include "platform/KeyboardState.h"

// After allegro.h, which it needs.
#include <xalleg.h>

bool ReadKeyboardState(bool down[KEY_MAX])
{
    if (!system_driver || system_driver->id != SYSTEM_XWINDOWS || !_xwin.display)
        return false;
    char keymap[32];
    XLOCK();
    XQueryKeymap(_xwin.display, keymap);
    // Through the library's own table from X keycodes to its scancodes.
    for (int keycode = 0; keycode < 256; ++keycode) {
        const int scancode = _xwin.keycode_to_scancode[keycode];
        if (scancode > 0 && scancode < KEY_MAX && (keymap[keycode / 8] >> (keycode % 8) & 1))
            down[scancode] = true;
    }
    XUNLOCK();
    return true;
}
