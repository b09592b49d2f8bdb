#pragma once

#include "image/Fractal.h"

// The vector units' share of PaintFractal: the escape counts of one row, several points at
// a time. Every lane takes the same steps in the same order as EscapeCount, so the counts
// are the same to the last bit of every intermediate double.

// Points worked out together; the count buffers are padded to a multiple of this.
const int FRACTAL_ROW_BLOCK = 8;

// counts[column] for columns 0..width - 1 of the row whose imaginary part is im; the
// entries up to width rounded up to FRACTAL_ROW_BLOCK are overwritten too.
void FractalRowSse2(const FractalView& view, int width, double im, int* counts);
void FractalRowAvx2(const FractalView& view, int width, double im, int* counts);
