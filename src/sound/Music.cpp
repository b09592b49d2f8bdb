#include "sound/Music.h"

#include "sound/MidiCheck.h"

#include <climits>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
const int LOOP_START_BEAT = 8; // the first eight beats are an intro that is never heard

// Allegro's software MIDI player only looks for its patch set beside the program and in
// system folders; the build leaves one beside the tune. The setting goes in as override data
// because set_config_string would write an allegro.cfg when the program ends.
void PointPlayerAtPatches()
{
    char folder[PATH_MAX];
    if (!getcwd(folder, sizeof(folder)))
        return;
    std::string setting = std::string("[sound]\npatches = ") + folder + "/media/patches.dat\n";
    override_config_data(setting.c_str(), static_cast<int>(setting.size()));
}
} // namespace

void StartSound()
{
    PointPlayerAtPatches();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        std::fprintf(stderr, "emberwing: playing without sound: %s\n", allegro_error);
}

MIDI* StartMusic()
{
    const char* const path = "media/music0.mid";
    if (!MidiFileIsSound(path)) {
        std::fprintf(stderr, "emberwing: playing without music: %s is missing or damaged\n", path);
        return nullptr;
    }
    MIDI* music = load_midi(path);
    if (music) {
        play_looped_midi(music, LOOP_START_BEAT, -1);
        midi_seek(LOOP_START_BEAT);
    }
    return music;
}
