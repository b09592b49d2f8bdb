#include "graphics/cScaler.h"

#include "graphics/WidenPixels.h"

#include <algorithm>
#include <cstring>

Placement FitPicture(int picture_width, int picture_height, int window_width, int window_height)
{
    // Widths in whole units of the picture's shape, so that the fit never stretches it.
    int width = window_width, height = window_width * picture_height / picture_width;
    if (height > window_height) {
        height = window_height;
        width = window_height * picture_width / picture_height;
    }
    if (width <= 0 || height <= 0)
        return {0, 0, 0, 0};
    return {(window_width - width) / 2, (window_height - height) / 2, width, height};
}

namespace {
// The first of the target pixels that show source pixel s, when source pixels spread over
// a target: the smallest d with d * source / target >= s.
std::vector<int> FirstCovered(int source, int target)
{
    std::vector<int> first(source + 1);
    for (int s = 0; s <= source; ++s)
        first[s] = static_cast<int>((int64_t{s} * target + source - 1) / source);
    return first;
}

void Widen(const uint16_t* from, uint32_t* to, int pixels) { WidenPixels(from, to, pixels); }
void Widen(const uint16_t* from, uint16_t* to, int pixels)
{
    std::memcpy(to, from, sizeof(uint16_t) * pixels);
}
} // namespace

cScaler::cScaler(int picture_width, int picture_height, Placement placement)
    : picture_width(picture_width), picture_height(picture_height), placement(placement),
      whole_multiple(placement.width % picture_width == 0 &&
                             placement.width / picture_width == placement.height / picture_height &&
                             placement.height % picture_height == 0
                         ? placement.width / picture_width
                         : 0),
      first_column(FirstCovered(picture_width, placement.width)),
      first_row(FirstCovered(picture_height, placement.height)), column_count(picture_width),
      most_columns(0), widened(picture_width)
{
    for (int c = 0; c < picture_width; ++c) {
        column_count[c] = static_cast<uint8_t>(first_column[c + 1] - first_column[c]);
        most_columns = std::max<int>(most_columns, column_count[c]);
    }
}

void cScaler::PaintBorders(BITMAP* target, int window_width, int window_height) const
{
    const auto paint = [target](int x, int y, int width, int height) {
        if (width > 0 && height > 0)
            rectfill(target, x, y, x + width - 1, y + height - 1, 0);
    };
    const int right = placement.x + placement.width, bottom = placement.y + placement.height;
    paint(0, 0, window_width, placement.y);
    paint(0, bottom, window_width, window_height - bottom);
    paint(0, placement.y, placement.x, placement.height);
    paint(right, placement.y, window_width - right, placement.height);
}

Placement cScaler::Covered(int x, int y, int width, int height) const
{
    const int left = first_column[x], top = first_row[y];
    return {placement.x + left, placement.y + top, first_column[x + width] - left,
            first_row[y + height] - top};
}

// Writes each of the pixels [x, x + width) of a widened picture row, from, to the target
// columns it covers, starting at to. Every pixel but the last that shows is written Most
// times, a fixed count the compiler unrolls, and the next pixel overwrites what went past
// its own columns; the last is written exactly, so that nothing past the run changes.
template <int Most, typename Pixel>
void cScaler::SpreadUpTo(const Pixel* from, int x, int width, Pixel* to) const
{
    const uint8_t* count = column_count.data() + x;
    int last = width - 1; // the last pixel that covers any column: past it nothing shows
    while (last >= 0 && count[last] == 0)
        --last;
    for (int i = 0; i < last; ++i) {
        for (int k = 0; k < Most; ++k)
            to[k] = from[i];
        to += count[i];
    }
    for (int k = 0; last >= 0 && k < count[last]; ++k)
        to[k] = from[last];
}

// Writes one target row's share of picture pixels [x, x + width) at to, the row's first
// pixel of the placement.
template <typename Pixel> void cScaler::Spread(const uint16_t* row, int x, int width, Pixel* to)
{
    to += first_column[x];
    if (whole_multiple == 1) {
        Widen(row + x, to, width);
        return;
    }
    Pixel* wide = reinterpret_cast<Pixel*>(widened.data());
    Widen(row + x, wide, width);
    switch (most_columns) {
    case 1: // the picture made smaller: some picture columns cover none
        SpreadUpTo<1>(wide, x, width, to);
        break;
    case 2:
        SpreadUpTo<2>(wide, x, width, to);
        break;
    case 3:
        SpreadUpTo<3>(wide, x, width, to);
        break;
    case 4:
        SpreadUpTo<4>(wide, x, width, to);
        break;
    default:
        for (int i = 0; i < width; ++i) {
            std::fill_n(to, column_count[x + i], wide[i]);
            to += column_count[x + i];
        }
    }
}

void cScaler::WriteRun(const uint16_t* row, int y, int x, int width, BITMAP* target)
{
    const int top = first_row[y], bottom = first_row[y + 1];
    const int left = first_column[x], right = first_column[x + width];
    if (top == bottom || left == right)
        return;
    const bool wide = bitmap_color_depth(target) == 32;
    const size_t bytes = (right - left) * (wide ? sizeof(uint32_t) : sizeof(uint16_t));
    const size_t offset = (placement.x + left) * (wide ? sizeof(uint32_t) : sizeof(uint16_t));
    // The first target row is made from the picture; the rows below it that show the same
    // picture row are copies of it.
    const uintptr_t first = bmp_write_line(target, placement.y + top);
    if (wide)
        Spread(row, x, width, reinterpret_cast<uint32_t*>(first) + placement.x);
    else
        Spread(row, x, width, reinterpret_cast<uint16_t*>(first) + placement.x);
    for (int r = top + 1; r < bottom; ++r)
        std::memcpy(reinterpret_cast<char*>(bmp_write_line(target, placement.y + r)) + offset,
                    reinterpret_cast<const char*>(first) + offset, bytes);
}
