#pragma once

#include <allegro.h>

#include <cstdint>

// The fractal generator: the colour of each escape count, the count of one point, and the
// painting of a whole bitmap.

const int FRACTAL_MOST_ITERATIONS = 200;

// Fills colours[0..FRACTAL_MOST_ITERATIONS] with packed colours by escape count, for a limit
// of 0 to FRACTAL_MOST_ITERATIONS. Counts that neither ramp reaches take the colour of 0.
void FillFractalColours(int* colours, int max_iterations, int palette);

// Steps taken before the orbit of the point (re, im) leaves the circle of radius 2, or
// max_iterations if it never does. kind 0: z*z + p; any other: (|Re|,|Im|) fold with p
// subtracted.
int EscapeCount(int kind, double re, double im, int max_iterations);

// The part of the plane shown and the rules of the iteration.
struct FractalView {
    int kind;
    double re_min, im_min, re_span, im_span;
    int max_iterations; // 0 to FRACTAL_MOST_ITERATIONS
};

// Ways of painting; all give the same pixels. PLAIN works one point at a time with
// putpixel and on any bitmap; the vector ways write 16-bit rows directly, several points
// at a time, and are used only on 16-bit bitmaps of a CPU that has the unit.
enum class FractalPath { PLAIN, SSE2, AVX2, AVX512 };

// The fastest way this CPU offers.
FractalPath FastestFractalPath();
bool FractalPathAvailable(FractalPath path);

// Paints every pixel of the bitmap with the colour of its escape count, the plane's view
// stretched over the bitmap's whole size. A path that is not available falls back to PLAIN.
void PaintFractal(BITMAP* picture, const FractalView& view, int palette, FractalPath path);

// A new bitmap of the screen's colour depth painted the fastest way, the limit clamped to
// 0 to FRACTAL_MOST_ITERATIONS; null for a size of 0 or less, or when memory runs out.
BITMAP* MakeFractal(int width, int height, FractalView view, int palette);
