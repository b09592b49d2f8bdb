#pragma once

#include <allegro.h>

#include <cstdint>
#include <vector>

// A rectangle of a window, in its pixels.
struct Placement {
    int x, y, width, height;
};

// Where a picture goes in a window: the largest size of the picture's own shape that fits,
// centred. A window too small for any picture gives an empty placement.
Placement FitPicture(int picture_width, int picture_height, int window_width, int window_height);

// Spreads the game's 16-bit picture (red in the top five bits) over its placement in a
// window, in the window's format: 16-bit like the picture, or 32-bit with red in bits 16 to
// 23 (see WidenPixels). Each pixel of the window shows the picture's pixel under it: target
// column d of the placement shows picture column d * picture width / placement width,
// rounded down, and rows likewise. Pixels stay crisp; at a whole multiple every picture
// pixel becomes a square of the same size.
class cScaler {
public:
    cScaler(int picture_width, int picture_height, Placement placement);

    // Writes the pixels [x, x + width) of picture row y, whose first pixel row points at, to
    // every target row and column they cover. The target is selected for writing.
    void WriteRun(const uint16_t* row, int y, int x, int width, BITMAP* target);

    // Paints black what the picture leaves of a window_width x window_height target.
    void PaintBorders(BITMAP* target, int window_width, int window_height) const;

    // The part of the target covered by a rectangle of the picture.
    Placement Covered(int x, int y, int width, int height) const;

    const Placement& Where() const { return placement; }

private:
    template <typename Pixel> void Spread(const uint16_t* row, int x, int width, Pixel* to);

    template <int Most, typename Pixel>
    void SpreadUpTo(const Pixel* from, int x, int width, Pixel* to) const;

    int picture_width, picture_height;
    Placement placement;
    int whole_multiple;                // the scale when it is one, otherwise 0
    std::vector<int> first_column;     // picture column c covers placement columns from
    std::vector<int> first_row;        // first_column[c] to first_column[c + 1]; rows likewise
    std::vector<uint8_t> column_count; // how many placement columns each picture column covers
    int most_columns;                  // the largest of them
    std::vector<uint32_t> widened;     // one picture row in the target's format
};
