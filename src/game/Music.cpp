#include "game/Music.h"

#include <cstdio>

namespace {
const int LOOP_START_BEAT = 8; // the first eight beats are an intro that is never heard
}

void StartSound()
{
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        std::fprintf(stderr, "emberwing: playing without sound: %s\n", allegro_error);
}

MIDI* StartMusic()
{
    MIDI* music = load_midi("media/music0.mid");
    if (music) {
        play_looped_midi(music, LOOP_START_BEAT, -1);
        midi_seek(LOOP_START_BEAT);
    }
    return music;
}
