#pragma once

#include "cRatioReporter.h"

// The fractal generator, for the title backdrop and the two bands of the wide mode, each
// beside a straightforward one-point-at-a-time reference of the same rules.
void RegisterFractalBenchmarks(cRatioReporter& report);
