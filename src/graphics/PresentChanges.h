#pragma once

#include <allegro.h>

// Copies the top-left width x height pixels of frame to target at row top, writing only what
// differs from last, the copy of what the previous call presented, and brings last up to
// date. Under X11 the library converts every pixel written to the screen to the display's
// own format, which costs far more than composing the frame, while a title screen or a play
// frame with a still view changes in a few places only. The frame is compared in blocks of
// 16 rows by 32 columns (wider for frames over 2048 pixels); neighbouring changed blocks of
// a band of rows go out as one rectangle, cut to the rows of the band that changed.
//
// frame and last are 16-bit memory bitmaps of at least width x height pixels.
void PresentChanges(BITMAP* frame, BITMAP* last, BITMAP* target, int width, int height, int top);
