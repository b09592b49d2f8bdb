#include "game/FocusWatch.h"

#include <allegro.h>

#include <atomic>
#include <initializer_list>

namespace {
std::atomic<bool> _lost(false);
std::atomic<bool> _has_focus(true);
int _watching = SWITCH_NONE; // the switch mode set, once watching

void OnSwitchOut()
{
    _has_focus = false;
    _lost = true;
}

void OnSwitchIn() { _has_focus = true; }
} // namespace

void WatchFocus()
{
    // The game must keep running in the background to pause itself and to answer the close
    // button; the mode also decides whether callbacks are allowed at all. A full-screen mode
    // on Windows keeps no copy of its screen meanwhile, and allows only the mode that says so.
    for (int mode : {SWITCH_BACKGROUND, SWITCH_BACKAMNESIA}) {
        if (set_display_switch_mode(mode) != 0)
            continue;
        _watching = mode;
        set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
        set_display_switch_callback(SWITCH_IN, OnSwitchIn);
        return;
    }
}

bool TakeFocusLoss()
{
    // On Windows every new screen sets a mode of its own, which drops the callbacks.
    if (_watching != SWITCH_NONE && get_display_switch_mode() != _watching)
        WatchFocus();
    return _lost.exchange(false) && !_has_focus;
}
