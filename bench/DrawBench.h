#pragma once

#include "cRatioReporter.h"

// Drawing into the frame: the stencils of a busy play frame and the city's two layers, each
// beside the floor of one blit of a whole 800 x 600 frame.
void RegisterDrawBenchmarks(cRatioReporter& report);
