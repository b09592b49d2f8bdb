#pragma once

#include "cRatioReporter.h"

// Whole play frames composed by the real play phase into a memory double buffer, at both
// play-area widths: a calm frame and the busiest one, each beside one blit of a whole
// buffer of the same size.
void RegisterFrameBenchmarks(cRatioReporter& report);
