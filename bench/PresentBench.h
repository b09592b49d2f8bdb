#pragma once

#include "cRatioReporter.h"

// Presenting a whole picture scaled to the full screens of large monitors, each beside the
// floor of writing every pixel of that screen once. Registers the floors too.
void RegisterPresentBenchmarks(cRatioReporter& report);
