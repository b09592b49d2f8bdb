#include "sound/Mute.h"

#include <allegro.h>

namespace {
const int FULL_VOLUME = 255;

bool muted = false;
int digital_volume = FULL_VOLUME; // the volumes to come back to
int midi_volume = FULL_VOLUME;

// The library reports a volume never set as -1, which set_volume reads as "leave as it is":
// coming back to that would stay silent. Never set means full.
int Restorable(int volume) { return volume < 0 ? FULL_VOLUME : volume; }
} // namespace

void SetSoundMuted(bool mute)
{
    if (mute == muted)
        return;
    muted = mute;
    if (mute) {
        get_volume(&digital_volume, &midi_volume);
        // The software MIDI player plays through digital voices: both must go to zero.
        set_volume(0, 0);
    } else {
        set_volume(Restorable(digital_volume), Restorable(midi_volume));
    }
}

void ToggleSoundMute() { SetSoundMuted(!muted); }

bool SoundMuted() { return muted; }
