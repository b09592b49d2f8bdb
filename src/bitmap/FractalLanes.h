#pragma once

#include "bitmap/Fractal.h"

#include <cstdint>

// The vector units' share of PaintFractal, for 16-bit bitmaps. Each lane of the vectors
// follows one point at a time, taking the same steps in the same order as EscapeCount, so
// every intermediate double and every count is the same; when its point is done, the lane
// writes the pixel and takes the next point of the picture, row by row. colours holds the
// packed 16-bit colour of each count. Each runs only on a CPU with its unit (AVX-512 F for
// the last), and the last two only with POPCNT as well.
#if defined(__SSE2__)
void PaintFractalSse2(BITMAP* picture, const FractalView& view, const uint16_t* colours);
void PaintFractalAvx2(BITMAP* picture, const FractalView& view, const uint16_t* colours);
void PaintFractalAvx512(BITMAP* picture, const FractalView& view, const uint16_t* colours);
#endif
