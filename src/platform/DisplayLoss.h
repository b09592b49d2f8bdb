#pragma once

// When the X server goes away every later call to it fails, the library's own shutdown
// included: Xlib's default handler exits through that shutdown, which now and then aborts.
// With this the game says so in one line on stderr and ends at once with status 1; with the
// connection gone there is nothing left to tidy. A system whose screen is not reached over a
// connection has nothing to lose, and there it does nothing.
void EndOnDisplayLoss();
