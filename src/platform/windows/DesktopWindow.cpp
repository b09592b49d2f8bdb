#include "platform/DesktopWindow.h"

#include "platform/FrameClock.h"

#include <allegro.h>
// After allegro.h, which it needs.
#include <winalleg.h>

// Windows puts the desktop's own mode back whenever a full-screen program ends, crashes or
// loses the keyboard, so the library's full-screen modes are safe here: each mode opens its
// own screen, and there is no desktop window to manage.

bool OpenDesktopWindow(int, int, int) { return false; }

void ShowPicture(int, int) {}

void ForgetDesktopWindow() {}

void SetFullScreen(bool) {}

bool DesktopWindowSize(int*, int*) { return false; }

bool HasDesktopWindow() { return false; }

namespace {
// As a new display mode takes hold the screen may be cleared after the first picture went
// out: under Wine the desktop changes its size a moment after the mode is set. For its first
// second a new full-screen mode counts as lost a few times, so the picture comes back
// whenever that happens.
const int64_t SETTLING_NS = 1000000000;
const int SETTLING_LOSSES = 4;
int64_t _settling_since_ns = 0; // 0: settled
int _settling_losses = 0;

bool Settling()
{
    if (_settling_since_ns == 0 || _settling_losses == SETTLING_LOSSES)
        return false;
    const int64_t due = _settling_since_ns + SETTLING_NS * (_settling_losses + 1) / SETTLING_LOSSES;
    if (ClockNow() < due)
        return false;
    ++_settling_losses;
    return true;
}

bool OpenScreen(int depth, int picture_width, int picture_height, bool full_screen)
{
    set_color_depth(depth);
    if (full_screen &&
        set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, picture_width, picture_height, 0, 0) == 0)
        return true;
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, picture_width, picture_height, 0, 0) == 0;
}
} // namespace

bool OpenModeScreen(int depth, int picture_width, int picture_height, bool full_screen)
{
    if (!OpenScreen(depth, picture_width, picture_height, full_screen))
        return false;
    _settling_since_ns = is_windowed_mode() ? 0 : ClockNow();
    _settling_losses = 0;
    // Changing the display's mode can leave the game's window inactive (under Wine it does),
    // and an inactive window gets no keys until the player clicks it: the game was in front
    // when the player asked for the switch, so it takes the front back.
    SetForegroundWindow(win_get_window());
    win_grab_input();
    return true;
}

bool TakeScreenLoss()
{
    // A full-screen mode keeps no copy of its screen while the player is in another
    // program; the loss shows as the game's window coming back to the front.
    static bool was_in_front = true;
    const bool in_front = GetForegroundWindow() == win_get_window();
    const bool came_back = in_front && !was_in_front && !is_windowed_mode();
    was_in_front = in_front;
    return came_back || Settling();
}
