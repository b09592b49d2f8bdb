#pragma once

#include "cRatioReporter.h"

#include <string>

// Drawing into the frame: the stencils of a busy play frame and the city's two layers, each
// beside the floor of one blit of a whole 600-row frame of the same width. Registers the
// floors too.
void RegisterDrawBenchmarks(cRatioReporter& report);

// The name of the floor for a play area 800 or 1024 pixels wide.
std::string BlitFloorName(int width);
