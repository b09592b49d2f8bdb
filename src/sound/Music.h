#pragma once

#include <allegro.h>

// Digital voices kept for the sound effects, and those the software MIDI player takes from
// the same mixer for the tune (its notes, their release tails and the drums).
const int EFFECT_VOICES = 12;
const int TUNE_VOICES = 24;

// The tune's volume (0 to 255) under the effects at full volume, so that they stand out.
const int TUNE_VOLUME = 128;

// Sound start-up. A working MIDI device is used as it is; otherwise the software player
// plays the tune with "media/patches.dat" (made by the build). When no sound device can be
// opened the game goes on silently, after one line on stderr and none from the libraries;
// when the tune has no player for want of its patch set, one line says that too.
void StartSound();

// Loads "media/music0.mid" and plays it looped from beat 8 to the end, back to beat 8.
// Returns the tune for the caller to release, or null when it is missing, cannot be read or
// fails the structure check of MidiCheck.h (one line on stderr then says so).
MIDI* StartMusic();
