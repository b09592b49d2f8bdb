#include "sound/Music.h"

#include "platform/SoundDrivers.h"
#include "sound/MidiCheck.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {
const int LOOP_START_BEAT = 8; // the first eight beats are an intro that is never heard

// Allegro's software MIDI player only looks for its patch set beside the program and in
// system folders; the build leaves one beside the tune. The setting goes in as override data
// because set_config_string would write an allegro.cfg when the program ends.
void PointPlayerAtPatches()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error)
        return;
    const std::string setting =
        "[sound]\npatches = " + (folder / "media" / "patches.dat").u8string() + "\n";
    override_config_data(setting.c_str(), static_cast<int>(setting.size()));
}
} // namespace

void StartSound()
{
    PointPlayerAtPatches();
    reserve_voices(EFFECT_VOICES, TUNE_VOICES);
    // Without a digital device the library falls back to its silent driver, which has no
    // voices for the software MIDI player: that is the only way this fails.
    if (!InstallSoundDrivers()) {
        std::fprintf(stderr, "emberwing: no sound device could be opened; playing silently\n");
        return;
    }
    // Without a MIDI device the software player needs the patch set, and finds none.
    if (midi_driver->id == MIDI_NONE)
        std::fprintf(stderr, "emberwing: playing without music: media/patches.dat is missing "
                             "(the build makes it)\n");
    set_volume(-1, TUNE_VOLUME);
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
