#include "game/FocusWatch.h"

#include <allegro.h>

#include <atomic>

namespace {
std::atomic<bool> _lost(false);
std::atomic<bool> _has_focus(true);

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
    // button; the mode also decides whether callbacks are allowed at all.
    set_display_switch_mode(SWITCH_BACKGROUND);
    set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
    set_display_switch_callback(SWITCH_IN, OnSwitchIn);
}

bool TakeFocusLoss() { return _lost.exchange(false) && !_has_focus; }
