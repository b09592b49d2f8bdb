#pragma once

// The system's requests that a program end (on Linux the TERM, HUP, INT and QUIT signals; on
// Windows Ctrl+C or Ctrl+Break in its console, the console closing, the player logging off or
// the machine shutting down) end the game as Escape does: the frame loops see QuitRequested()
// and leave, the game shuts down as usual and exits with the status the system expects.
//
// The library installs handlers of its own that shut it down at once and leave the game
// drawing into a screen that is gone, so ours replace them.

// Before allegro_init: holds the requests back, so that none reaches the library's handlers
// before CatchQuitRequests. A request the program was told to ignore when it started (as a
// script's background job ignores INT and QUIT) stays ignored.
void HoldQuitRequests();

// After the library is installed: a request only raises a flag from now on, and any held
// back is delivered.
void CatchQuitRequests();

bool QuitRequested();

// The status for main to exit with: 0, or what a program ended by that request reports.
int ExitStatus();
