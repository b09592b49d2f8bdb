#pragma once

// The window losing the keyboard (another window taken, Alt+Tab): play pauses by itself.
// The library calls back on a thread of its own, so the callbacks only set flags that the
// frame loop reads.
void WatchFocus();

// True once after the window lost the keyboard, if it is still without it. A new video mode
// replaces the window, which loses the keyboard and gets it back at once: no loss then.
bool TakeFocusLoss();
