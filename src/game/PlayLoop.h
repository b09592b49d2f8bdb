#pragma once

#include <allegro.h>

// Runs the play phase from the title screen until Escape or the window's close button,
// then releases everything it made and the music it was given (which may be null). The tune
// pauses with play, and the loop sleeps between looks at the keys. With EMBERWING_RECORD set
// to a file name, the play is recorded there (see Replay.h).
void RunPlayPhase(MIDI* music);
