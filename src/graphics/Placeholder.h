#pragma once

#include <allegro.h>

// A placeholder picture made in memory, for when "media/NotLoaded.pcx" cannot be read:
// a 32x32 red and yellow checkerboard with a black frame, impossible to mistake for art.
BITMAP* MakePlaceholderBitmap();
