#pragma once

#include <allegro.h>

// The video mode and the off-screen frame, for the whole process. Static members only.
//
// Modes: 0 = an 800x600 picture in a window, 1 = the same full screen, 2 = a 1024x768
// picture full screen, showing a 1024x600 play area between two fractal bands of 84 rows.
// Every drawing goes into double_buffer; only the presenting here writes to the screen. The
// game has one window for the whole run, which the modes make full screen or not; the
// picture is scaled to the largest size of its shape that the window holds, centred on
// black. Where no such window opens, and on systems without one, each mode opens a screen of
// its own: full screen in the picture's size where the system allows it, a window otherwise.
class cGraphics {
public:
    static const int WINDOW_MODE = 0;
    static const int NARROW_MODE = 1;
    static const int WIDE_MODE = 2;

    static int mode;      // last mode opened, 0 before Initialize
    static int SCR_WIDTH; // play area, re-read after every SetMode
    static int SCR_HEIGHT;
    static BITMAP* not_loaded;    // drawn in place of any image that holds no picture
    static BITMAP* double_buffer; // SCR_WIDTH + 1 by SCR_HEIGHT + 1; the extra column and row
                                  // can be drawn into but are never presented
    static bool initialized;
    static bool windowed_by_player; // every mode shows in a window, after ToggleWindowed

    // Opens the window in mode m, creates the double buffer and loads the placeholder. False,
    // with nothing touched, for a mode number other than 0, 1 or 2. Where the window that
    // grows to the desktop cannot open, one line on stderr says so and the mode's own screen
    // opens; if that fails too the game stops with a message.
    static bool Initialize(int m);

    // Switches to mode m while the game runs, replacing the double buffer with a black one.
    // Unknown mode numbers change nothing.
    static void SetMode(int m);

    // Between full screen and the window, keeping the mode, the play area and the picture in
    // the double buffer, which goes out again once the window has its new size (or once the
    // mode's own screen has opened again).
    static void ToggleWindowed();

    static int GetMode() { return mode; }
    static bool AlreadyInitialized() { return initialized; }

    // Waits for the retrace, holds the frame rate at 60 per second and presents the buffer.
    static void DrawBuffer();

    // Waits like DrawBuffer and presents nothing, unless the window's size has changed: the
    // screen goes on showing the last frame, for a screen that has not changed since.
    static void WaitForFrame();

    // Presents the last frame again, laid out anew, if the window's size has changed since;
    // for a screen that holds still without waiting for frames, such as a paused game.
    static void FollowWindow();

    // Writes text in the library's 8x8 font, no background, top-left corner at (x, y).
    static void DrawText(int x, int y, int red, int green, int blue, const char* text);

    // Releases the placeholder, the double buffer and the bands; nothing may draw afterwards.
    // The window stays until the library ends or sets another mode; Initialize opens anew.
    static void UnloadModule();

    // Reads "media/NotLoaded.pcx", or makes a placeholder in memory when it cannot be read,
    // so that not_loaded is never null once the module is open.
    static void LoadPlaceholder();

    // Size of the play area for a known mode number; false for any other number.
    static bool PlayAreaOf(int m, int* width, int* height);

private:
    static void OpenScreen(int m);
    static void OpenMode(int m);
    static void MakeBands();
    static void Pace();
    // Lays the picture out for the window's size now, with the bands of the wide mode; true
    // when that changed, and the double buffer must go out whole.
    static bool LayOut();
    static void Present();
};
