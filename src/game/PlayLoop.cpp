#include "game/PlayLoop.h"

#include "city/cCity.h"
#include "game/Controls.h"
#include "game/FocusWatch.h"
#include "game/PlayRandom.h"
#include "game/Replay.h"
#include "game/ShellControls.h"
#include "game/cPlayPhase.h"
#include "graphics/cGraphics.h"
#include "sound/cSoundEffects.h"

#include <cstdlib>
#include <ctime>

namespace {
// While paused nothing is drawn or presented; the loop only looks at the controls this often.
const long PAUSED_POLL_NS = 50 * 1000 * 1000;

void DozeWhilePaused()
{
    // Not the library's rest(): without its timer installed (a silent game) it spins.
    const timespec poll = {0, PAUSED_POLL_NS};
    nanosleep(&poll, nullptr);
}
} // namespace

void RunPlayPhase(MIDI* music)
{
    WatchFocus();
    // Every play takes a seed of its own from the process's random numbers, so that a
    // recording of it can replay it from the seed alone.
    const unsigned seed = static_cast<unsigned>(std::rand());
    SeedPlayRandom(seed);
    cRecorder recorder(std::getenv("EMBERWING_RECORD"), seed);

    cPlayPhase* play = new cPlayPhase(music);
    cSoundEffects effects;
    for (;;) {
        const Controls controls = SampleControls();
        recorder.Add(controls);
        ApplyShellControls(controls);
        const bool was_paused = play->Paused();
        if (!play->Frame(controls))
            break;
        effects.PlayEvents(play->Events(), play->view_x, play->view_y, cGraphics::SCR_WIDTH,
                           cGraphics::SCR_HEIGHT);
        if (play->Paused() != was_paused)
            play->Paused() ? midi_pause() : midi_resume();
        if (play->Paused()) {
            DozeWhilePaused();
            cGraphics::FollowWindow();
        }
    }
    recorder.Close(play->city->GetPopulation());
    delete play;
}
