#include "sound/Music.h"

#include "sound/MidiCheck.h"

#include <climits>
#include <cstdio>
#include <fcntl.h>
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

// While alive, anything written to stderr goes nowhere. alsa-lib writes a line there for
// every device it fails to open while the library probes (nine on a machine without sound,
// some even when a device opens), which would tell a player nothing.
class cQuietStderr {
public:
    cQuietStderr() : saved(dup(STDERR_FILENO))
    {
        const int nowhere = open("/dev/null", O_WRONLY);
        if (saved >= 0 && nowhere >= 0)
            dup2(nowhere, STDERR_FILENO);
        if (nowhere >= 0)
            close(nowhere);
    }
    ~cQuietStderr()
    {
        if (saved < 0)
            return;
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    cQuietStderr(const cQuietStderr&) = delete;
    cQuietStderr& operator=(const cQuietStderr&) = delete;

private:
    int saved;
};

bool InstallSoundQuietly()
{
    cQuietStderr quiet;
    return install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) == 0;
}
} // namespace

void StartSound()
{
    PointPlayerAtPatches();
    reserve_voices(EFFECT_VOICES, TUNE_VOICES);
    // Without a digital device the library falls back to its silent driver, which has no
    // voices for the software MIDI player: that is the only way this fails.
    if (!InstallSoundQuietly()) {
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
