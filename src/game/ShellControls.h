#pragma once

#include "game/Controls.h"

// The controls that belong to the whole program rather than to one screen, each acting once
// per press: M mutes and unmutes all sound, Alt+Enter switches between full screen and a
// window. The title and the play loops call it once a frame, paused or not.
void ApplyShellControls(const Controls& controls);
