#include "bitmap/Fractal.h"
#include "bitmap/FractalLanes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// The varying component ramps up over the first half of the table and down again over the
// second; count max_iterations, a point that never escaped, takes the colour of count 0.
void FillFractalColours(int* colours, int max_iterations, int palette)
{
    const int red = palette == 0 ? 255 : 64;
    auto pack = [palette, red](int level) {
        return palette == 0 ? makecol(red, level, 0) : makecol(red, 0, level);
    };
    // An odd or tiny limit leaves some counts outside both ramps; they get the colour of
    // count 0 rather than whatever was in memory.
    std::fill(colours, colours + FRACTAL_MOST_ITERATIONS + 1, pack(0));
    const int half = max_iterations / 2;
    const double scale = 255 / (max_iterations * 0.5);
    for (int k = 0; k < half; ++k) {
        const int t = static_cast<int>(k * scale);
        colours[k] = pack(std::min(t, 255));
        colours[half + k] = pack(std::max(0, 255 - t));
    }
    colours[max_iterations] = colours[0];
}

int EscapeCount(int kind, double re, double im, int max_iterations)
{
    double zr = re, zi = im;
    int n = 0;
    while (n < max_iterations && zr * zr + zi * zi < 4) {
        ++n;
        double next_r, next_i;
        if (kind == 0) {
            next_r = (zr - zi) * (zr + zi) + re;
            next_i = 2 * zr * zi + im;
        } else {
            next_r = zr * zr - zi * zi - re;
            next_i = 2 * std::fabs(zr * zi) - im;
        }
        zr = next_r;
        zi = next_i;
    }
    return n;
}

bool FractalPathAvailable(FractalPath path)
{
    switch (path) {
    case FractalPath::PLAIN:
        return true;
#if defined(__SSE2__)
    case FractalPath::SSE2:
        return true;
    // The wider units count their done lanes with POPCNT, which every CPU with them has.
    case FractalPath::AVX2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    case FractalPath::AVX512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("popcnt");
#endif
    default:
        return false;
    }
}

FractalPath FastestFractalPath()
{
    for (FractalPath path : {FractalPath::AVX512, FractalPath::AVX2, FractalPath::SSE2})
        if (FractalPathAvailable(path))
            return path;
    return FractalPath::PLAIN;
}

namespace {
// Each pixel's point is worked out afresh from its column and row, never by stepping, so
// that rounding cannot accumulate across the picture.
double ImaginaryPart(const FractalView& view, int height, int row)
{
    return (row - height / 2) / (height / view.im_span) + (view.im_min + view.im_span / 2);
}

void PaintPlain(BITMAP* picture, const FractalView& view, const int* colours)
{
    const int width = picture->w, height = picture->h;
    const double re_centre = view.re_min + view.re_span / 2;
    const double columns_per_unit = width / view.re_span;
    for (int row = 0; row < height; ++row) {
        const double im = ImaginaryPart(view, height, row);
        for (int column = 0; column < width; ++column) {
            const double re = (column - width / 2) / columns_per_unit + re_centre;
            putpixel(picture, column, row,
                     colours[EscapeCount(view.kind, re, im, view.max_iterations)]);
        }
    }
}
} // namespace

void PaintFractal(BITMAP* picture, const FractalView& view, int palette,
                  [[maybe_unused]] FractalPath path)
{
    int colours[FRACTAL_MOST_ITERATIONS + 1];
    FillFractalColours(colours, view.max_iterations, palette);
#if defined(__SSE2__)
    if (path != FractalPath::PLAIN && FractalPathAvailable(path) &&
        bitmap_color_depth(picture) == 16) {
        uint16_t pixels[FRACTAL_MOST_ITERATIONS + 1];
        std::copy(colours, colours + FRACTAL_MOST_ITERATIONS + 1, pixels);
        if (path == FractalPath::AVX512)
            PaintFractalAvx512(picture, view, pixels);
        else if (path == FractalPath::AVX2)
            PaintFractalAvx2(picture, view, pixels);
        else
            PaintFractalSse2(picture, view, pixels);
        return;
    }
#endif
    PaintPlain(picture, view, colours);
}

BITMAP* MakeFractal(int width, int height, FractalView view, int palette)
{
    view.max_iterations = std::clamp(view.max_iterations, 0, FRACTAL_MOST_ITERATIONS);
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAP* picture = create_bitmap(width, height);
    if (picture)
        PaintFractal(picture, view, palette, FastestFractalPath());
    return picture;
}
