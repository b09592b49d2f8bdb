#pragma once

#include <allegro.h>

// Reads a picture file into a new bitmap at the current colour depth, or returns null when
// the file is missing or cannot be read.
BITMAP* LoadPicture(const char* path);
