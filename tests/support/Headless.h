#pragma once

#include <allegro.h>

#include <cstdint>

// Allegro without a display, for tests of logic and drawing into memory bitmaps. The test
// programs' main starts it once; fixtures then give cGraphics a memory double buffer.

// Starts Allegro's "none" system at 16-bit colour with red in the top bits, as under X11.
void StartHeadlessAllegro();

// While alive, cGraphics is open on memory bitmaps: a black double buffer of the play area
// plus one column and row, a 4x4 placeholder of a colour no picture uses, and the sizes.
class HeadlessScreen {
public:
    explicit HeadlessScreen(int width = 800, int height = 600);
    ~HeadlessScreen();
    HeadlessScreen(const HeadlessScreen&) = delete;
    HeadlessScreen& operator=(const HeadlessScreen&) = delete;

    static constexpr uint16_t PLACEHOLDER = 0x07E0; // pure green
    static constexpr int PLACEHOLDER_SIZE = 4;
};

uint16_t PixelAt(BITMAP* bitmap, int x, int y);
void SetPixel(BITMAP* bitmap, int x, int y, uint16_t value);

// A new 16-bit memory bitmap filled with one raw pixel value.
BITMAP* SolidBitmap(int width, int height, uint16_t value);

// Number of pixels of the bitmap equal to value.
int CountPixels(BITMAP* bitmap, uint16_t value);
