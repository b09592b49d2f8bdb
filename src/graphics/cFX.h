#pragma once

class cColour;

// Drawing primitives on cGraphics::double_buffer, with colours packed for the current
// depth. Coordinates are not checked here: the library clips to the whole buffer,
// including its extra column and row. Static members only.
class cFX {
public:
    static void DrawPixel(int x, int y, int red, int green, int blue);
    static void DrawPixel(int x, int y, cColour* colour);

    // A filled rectangle between two opposite corners, both included, in either order.
    static void DrawRectangle(int x1, int y1, int x2, int y2, int red, int green, int blue);

    // The rectangle's outline, one pixel wide.
    static void DrawOutline(int x1, int y1, int x2, int y2, int red, int green, int blue);

    // Darkens a filled rectangle, corners included, keeping light / 256 of it.
    static void ShadeRectangle(int x1, int y1, int x2, int y2, int light);

    // Text in the library's 8x8 font enlarged scale times, no background, centred on (x, y).
    static void DrawTextCentred(int x, int y, int scale, int red, int green, int blue,
                                const char* text);

    // Turns the whole buffer black; the arguments are kept for callers but do not matter.
    static void Clear(int red, int green, int blue);
};
