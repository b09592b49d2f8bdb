#include "game/PlayLoop.h"

#include "city/cCity.h"
#include "game/Controls.h"
#include "game/Replay.h"
#include "game/cPlayPhase.h"

#include <cstdlib>

void RunPlayPhase(MIDI* music)
{
    // Every play takes a seed of its own from the process's random numbers, so that a
    // recording of it can replay it from the seed alone.
    const unsigned seed = static_cast<unsigned>(std::rand());
    std::srand(seed);
    cRecorder recorder(std::getenv("EMBERWING_RECORD"), seed);

    cPlayPhase* play = new cPlayPhase(music);
    for (;;) {
        const Controls controls = SampleControls();
        recorder.Add(controls);
        if (!play->Frame(controls))
            break;
    }
    recorder.Close(play->city->GetPopulation());
    delete play;
}
