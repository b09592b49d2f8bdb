#pragma once

#include <allegro.h>

#include <cstddef>
#include <cstdint>

// Reads a PCX picture file into a new bitmap at the current colour depth, or returns null
// when the file is missing or is not a well-formed picture within the limits of PcxCheck.h.
// The file is read once; the bytes checked are the bytes decoded.
BITMAP* LoadPicture(const char* path);

// The same for a picture already in memory: checks it, then decodes it, or returns null.
BITMAP* DecodePicture(const uint8_t* data, size_t size);
