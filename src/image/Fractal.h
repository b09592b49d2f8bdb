#pragma once

// The two halves of the fractal generator behind cImage::GenerateFractal, apart from any
// bitmap: the colour of each escape count, and the count of one point.

const int FRACTAL_MOST_ITERATIONS = 200;

// Fills colours[0..FRACTAL_MOST_ITERATIONS] with packed colours by escape count, for a limit
// of 0 to FRACTAL_MOST_ITERATIONS. Counts that neither ramp reaches take the colour of 0.
void FillFractalColours(int* colours, int max_iterations, int palette);

// Steps taken before the orbit of the point (re, im) leaves the circle of radius 2, or
// max_iterations if it never does. kind 0: z*z + p; any other: (|Re|,|Im|) fold with p
// subtracted.
int EscapeCount(int kind, double re, double im, int max_iterations);
