#pragma once

#include <cstdint>

class cImage;

// Helpers for tests that script the play phase's frames.

// Gives an image a solid picture of one raw 16-bit value, replacing whatever it held, so
// that a test can tell its pixels apart in the frame (0xF81F makes it wholly transparent).
void Paint(cImage* image, int width, int height, uint16_t colour);

// Lets go of every key in the library's key[] array.
void ReleaseAllKeys();
