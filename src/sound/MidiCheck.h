#pragma once

#include <cstddef>

// Allegro's MIDI loader trusts the events inside a track and its player walks them without
// bounds, so a damaged tune can make it read past its memory or abort the game. The tune is
// checked here first: a standard MIDI file of format 0 or 1 that Allegro can hold, whose
// every event lies inside its track, and whose every track closes with its end-of-track
// event. Anything else is refused and the game plays silently.

// Files larger than this are refused unread: the game's tune is a few kilobytes.
const std::size_t MIDI_MOST_BYTES = 1 << 20;

bool MidiDataIsSound(const unsigned char* data, std::size_t size);

// False when the file is missing, unreadable, too large or not sound.
bool MidiFileIsSound(const char* path);
