#pragma once

#include <cstddef>

// Allegro's WAV reader trusts the sizes inside the file: a data chunk longer than the file,
// a format chunk shorter than the fields it reads or an odd-sized chunk it does not pad
// make it read past what the file holds or take other bytes for samples, and a second data
// chunk makes it lose the first sample. A sound effect is checked here first: a RIFF WAVE
// file made of whole, even-sized chunks to its end, with a PCM format chunk (mono or
// stereo, 8 or 16 bits, a rate the mixer can take) before its one data chunk of whole
// frames. Anything else is refused and goes unheard.

// Files larger than this are refused unread: an effect is a few tens of kilobytes.
const std::size_t WAV_MOST_BYTES = 1 << 20;

// Sample rates accepted, in Hz.
const int WAV_LOWEST_RATE = 4000;
const int WAV_HIGHEST_RATE = 48000;

bool WavDataIsSound(const unsigned char* data, std::size_t size);
