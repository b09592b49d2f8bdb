#pragma once

// Silences the tune and the sound effects at once, and brings them back at the volumes
// they had. The tune keeps its place while muted; effects are not started at all.
void SetSoundMuted(bool muted);
void ToggleSoundMute();
bool SoundMuted();
