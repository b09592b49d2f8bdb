#pragma once

#include "cRatioReporter.h"

// The fractal generator, for the title backdrop and the two bands of the wide mode, each
// beside a straightforward one-point-at-a-time reference of the same rules.
// Also heads the table with the CPU's model and the vector unit the game's generator uses.
void RegisterFractalBenchmarks(cRatioReporter& report);
