#pragma once

#include <allegro.h>

#include <cstddef>
#include <cstdint>

// Reads a WAV sound into a new sample, or returns null when the file is missing, unreadable
// or fails the structure check of WavCheck.h. The file is read once; the bytes checked are
// the bytes decoded.
SAMPLE* LoadSoundSample(const char* path);

// The same for a file already in memory.
SAMPLE* DecodeSoundSample(const uint8_t* data, size_t size);
