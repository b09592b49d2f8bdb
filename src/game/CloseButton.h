#pragma once

// The window's close button asks the game to stop, as Escape does. The library calls back
// on a thread of its own, so the callback only raises a flag that the frame loops poll.
void WatchCloseButton();
bool CloseButtonPressed();
