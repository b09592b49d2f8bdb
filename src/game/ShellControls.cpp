#include "game/ShellControls.h"

#include "game/HeldKeys.h"
#include "graphics/cGraphics.h"
#include "sound/Mute.h"

#include <allegro.h>

namespace {
bool _mute_held = false;
bool _toggle_held = false;
} // namespace

void ApplyShellControls(const Controls& controls)
{
    if (controls.mute && !_mute_held)
        ToggleSoundMute();
    _mute_held = controls.mute;
    if (controls.window_toggle && !_toggle_held) {
        // Alt and Enter are still down as the new window opens: carried over, they keep
        // the toggle from firing again when they come back.
        NoteHeldKeys();
        cGraphics::ToggleWindowed();
    }
    _toggle_held = controls.window_toggle;
}
