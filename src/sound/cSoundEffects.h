#pragma once

#include "game/FrameEvents.h"

#include <allegro.h>

// The sound effects of play, one for each kind of frame event, heard from where the faerie
// is: panned by where on the screen the event happened and quieter the farther it is from
// the ground point under her. The two kinds of bounce share one effect, a roof's quieter
// and higher. Nothing is played while sound is muted (Mute.h).
class cSoundEffects {
public:
    // The three calls that reach the mixer; a test can hear through its own.
    struct Mixer {
        int (*play)(const SAMPLE* sample, int volume, int pan, int frequency, int loop);
        SAMPLE* (*playing)(int voice); // the sample a voice plays, or null when it is done
        void (*stop)(int voice);
    };
    static const Mixer LIBRARY; // play_sample, voice_check and deallocate_voice

    static constexpr int MOST_COPIES = 3; // of one effect at once; a new one stops the oldest

    // Loads the effects from media/. Any that are missing or damaged are named in one line
    // on stderr and stay silent; the others play.
    explicit cSoundEffects(Mixer mixer = LIBRARY);
    ~cSoundEffects();
    cSoundEffects(const cSoundEffects&) = delete;
    cSoundEffects& operator=(const cSoundEffects&) = delete;

    // Plays the events of one frame: of the events sharing an effect only the loudest, since
    // copies started together only add up to one louder copy. (view_x, view_y) is the map
    // point at the play area's top-left corner, width and height its size in pixels.
    void PlayEvents(const cFrameEvents& events, int view_x, int view_y, int width, int height);

private:
    static constexpr int EFFECT_COUNT = 6;

    struct sEffect {
        SAMPLE* sample = nullptr; // null when its file could not be read
        int voices[MOST_COPIES];  // last voices started, -1 for none
        int next = 0;             // the slot of the oldest
    };

    void Play(sEffect& effect, int volume, int pan, int frequency);

    Mixer mixer;
    sEffect effects[EFFECT_COUNT];
};
