#include "platform/SoundDrivers.h"

#include <allegro.h>

#include <fcntl.h>
#include <unistd.h>

namespace {
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
} // namespace

bool InstallSoundDrivers()
{
    cQuietStderr quiet;
    return install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) == 0;
}
