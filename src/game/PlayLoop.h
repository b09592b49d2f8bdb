#pragma once

#include <allegro.h>

// Runs the play phase from the title screen until Escape or the window's close button,
// then releases everything it made and the music it was given (which may be null). With
// EMBERWING_RECORD set to a file name, the play is recorded there (see Replay.h).
void RunPlayPhase(MIDI* music);
