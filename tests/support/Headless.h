#pragma once

#include <allegro.h>

#include <array>
#include <cstdint>

// Allegro without a display, for tests of logic and drawing into memory bitmaps. The test
// programs' main starts it once; fixtures then give cGraphics a memory double buffer.

// Starts Allegro's "none" system at 16-bit colour with red in the top bits, as under X11.
void StartHeadlessAllegro();

// While alive, cGraphics is open on memory bitmaps: a black double buffer of the play area
// plus one column and row, a 4x4 placeholder of a colour no picture uses, and the sizes; its
// mode is the narrow one, as the play phase starts in, and 0 again afterwards.
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

// Pixels in which two bitmaps of the same size and depth differ, at any depth.
int DifferingPixels(BITMAP* a, BITMAP* b);

// Left, top, right and bottom of the pixels equal to value (or, matching false, unequal);
// {1 << 30, 1 << 30, -1, -1} when there are none.
std::array<int, 4> BoxOf(BITMAP* bitmap, uint16_t value, bool matching = true);
