#pragma once

#include <allegro.h>

class cScaler;

// The way from the game's 16-bit frame (red in the top five bits) to the screen. The screen
// is either 16-bit like the frame, or 32-bit with red in bits 16 to 23: the display's own
// format, which the library puts out as it is, while it converts every pixel written to a
// 16-bit screen after a copy. The frame is one part of the picture the window shows, from
// row top of it down; the scaler spreads its pixels over the window, widened for a 32-bit
// screen, straight into the screen's rows through bmp_write_line; the rectangles written
// then go out to the display together (cScreenRows).

// Whether the functions below can write to target: 16-bit, or 32-bit with red in bits 16 to
// 23 and blue in bits 0 to 7.
bool CanPresentTo(BITMAP* target);

// Writes the top-left width x height pixels of frame to target, as picture rows from top.
void PresentWhole(BITMAP* frame, cScaler& scaler, BITMAP* target, int width, int height, int top);

// Writes to target, like PresentWhole, only what differs from last, the copy of what the
// previous call presented, and brings last up to date. A title screen or a play frame with a
// still view changes in a few places only. The frame is compared in blocks of 16 rows by 32
// columns (wider for frames over 2048 pixels); each row of such a band that changed gets
// the runs of neighbouring blocks that changed anywhere in the band.
//
// Returns the number of frame pixels written. frame and last are 16-bit memory bitmaps of at
// least width x height pixels.
int PresentChanges(BITMAP* frame, BITMAP* last, cScaler& scaler, BITMAP* target, int width,
                   int height, int top);
