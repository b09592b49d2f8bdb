#pragma once

// Starts the library's sound as install_sound does, with whatever voices were reserved
// before: false when no digital device could be opened. The tune goes to the system's MIDI
// device where Linux has one, otherwise (and always on Windows, whose own synthesiser sounds
// nothing like it) to the library's software player with the game's patch set.
bool InstallSoundDrivers();
