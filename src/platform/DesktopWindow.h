#pragma once

// The screen the game is shown on.
//
// On Linux it is the game's one window on the X11 desktop, opened once for the whole run. Full
// screen is the same window asking the window manager to cover the monitor (or, with no window
// manager, covering the display itself): switching never changes the desktop's video mode,
// never grabs the keyboard and never makes a new window, so the keyboard stays with the
// game as with any other window. The library's screen is as large as the display, and the
// window shows its top-left corner.

// Opens the library's screen at the colour depth as a window that may grow to the whole
// display, sized for a picture of picture_width x picture_height: the largest whole multiple
// of it that fits the desktop's work area, or the picture made to fit when none does. False,
// with no screen open, when the display gives no size or refuses the window.
bool OpenDesktopWindow(int depth, int picture_width, int picture_height);

// The picture the window shows from now on. The window takes the largest whole multiple of
// it that fits the work area, now if it is a window and when it leaves full screen if not;
// in between the player may size it at will.
void ShowPicture(int picture_width, int picture_height);

// Lets the window go with the library's screen: whoever sets a mode next replaces both.
void ForgetDesktopWindow();

// Asks for full screen or for the window. Without a window open it does nothing.
void SetFullScreen(bool full);

// The size of the window's inside now, at most the screen's; false when no desktop window is
// open.
bool DesktopWindowSize(int* width, int* height);

// Whether this system shows every mode in the one desktop window above. Where it does not,
// each mode opens a screen of its own with OpenModeScreen, and the functions above do
// nothing.
bool HasDesktopWindow();

// Opens the library's screen for one mode alone, picture_width x picture_height at the colour
// depth: full screen when asked and the system allows it, a window of that size otherwise.
// False, with no screen open, when neither opens.
bool OpenModeScreen(int depth, int picture_width, int picture_height, bool full_screen);

// True once after the screen lost what it showed, as a full-screen mode on Windows does while
// the player is in another program: the whole picture must go out again.
bool TakeScreenLoss();
