#pragma once

// The signals that ask a program to end (TERM, HUP, INT, QUIT) end the game as Escape does:
// the frame loops see QuitSignal() and leave, the game shuts down as usual and exits with
// 128 + the signal's number. One that was ignored when the game started, as INT and QUIT are
// for a job a script runs in the background, stays ignored.
//
// The library installs handlers of its own that shut it down at once and leave the game
// drawing into a screen that is gone, so ours replace them.

// Before allegro_init: notes which of them are ignored and holds them back, so that none
// reaches the library's handlers before CatchQuitSignals.
void NoteIgnoredQuitSignals();

// After the library is installed: the signals not ignored at start only raise a flag from
// now on, the others are ignored again, and any held back is delivered.
void CatchQuitSignals();

// The signal that asked the game to end, or 0.
int QuitSignal();

// The status for main to exit with: 0, or 128 + QuitSignal().
int ExitStatus();
