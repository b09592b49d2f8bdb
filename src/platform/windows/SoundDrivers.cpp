#include "platform/SoundDrivers.h"

#include <allegro.h>

bool InstallSoundDrivers() { return install_sound(DIGI_AUTODETECT, MIDI_DIGMID, nullptr) == 0; }
