#include "game/PlayLoop.h"

#include "game/Controls.h"
#include "game/cPlayPhase.h"

void RunPlayPhase(MIDI* music)
{
    cPlayPhase* play = new cPlayPhase(music);
    while (play->Frame(SampleControls())) {
    }
    delete play;
}
