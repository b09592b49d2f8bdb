#include "sound/cSoundEffects.h"

#include "game/PlayTypes.h"
#include "sound/Mute.h"
#include "sound/SampleFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {
enum Effect { WHOOSH, THUD, CRUMBLE, CHARGE, BOOM, CLICK };

const char* const FILES[] = {
    "media/throw.wav",  "media/bounce.wav", "media/crumble.wav",
    "media/charge.wav", "media/boom.wav",   "media/empty.wav",
};

// How each kind of event sounds: its effect, its volume beside the faerie (0 to 255) and
// its playing frequency (1000 as recorded).
struct sSound {
    Effect effect;
    int volume;
    int frequency;
};
const sSound SOUNDS[] = {
    {WHOOSH, 150, 1000},  // EVENT_THROW
    {THUD, 90, 1250},     // EVENT_BOUNCE_ROOF: hollower, above the street
    {THUD, 170, 1000},    // EVENT_BOUNCE_GROUND
    {CRUMBLE, 220, 1000}, // EVENT_BURST
    {CHARGE, 190, 1000},  // EVENT_BLAST_BEGUN
    {BOOM, 255, 1000},    // EVENT_BLAST_STRIKE
    {CLICK, 200, 1000},   // EVENT_ENERGY_EMPTY
};
static_assert(sizeof(SOUNDS) / sizeof(SOUNDS[0]) == EVENT_KIND_COUNT, "a sound for every event");

// Pixels from the faerie at which an event is heard at half its volume; at three times
// that a quarter, and so on, never quite silent.
const int HALF_VOLUME_DISTANCE = 400;
// Pan at the play area's edges, away from the centre: not all the way to one speaker.
const int PAN_AT_EDGE = 96;
const int CENTRE_PAN = 128;
const int MOST_PAN = 255;

int VolumeOf(const FrameEvent& event, int view_x, int view_y, int width, int height)
{
    // She hangs above the middle of the play area; events happen on the ground.
    const double dx = event.x - view_x - width / 2;
    const double dy = event.y - view_y - (height / 2 + FLYING_ALTITUDE);
    const int distance = static_cast<int>(std::lround(std::hypot(dx, dy)));
    return SOUNDS[event.kind].volume * HALF_VOLUME_DISTANCE / (HALF_VOLUME_DISTANCE + distance);
}

int PanOf(const FrameEvent& event, int view_x, int width)
{
    const int from_centre = event.x - view_x - width / 2;
    return std::clamp(CENTRE_PAN + from_centre * PAN_AT_EDGE / (width / 2), 0, MOST_PAN);
}
} // namespace

const cSoundEffects::Mixer cSoundEffects::LIBRARY = {play_sample, voice_check, deallocate_voice};

cSoundEffects::cSoundEffects(Mixer mixer) : mixer(mixer)
{
    static_assert(sizeof(FILES) / sizeof(FILES[0]) == EFFECT_COUNT, "a file for every effect");
    std::string unheard;
    for (int i = 0; i < EFFECT_COUNT; ++i) {
        std::fill(std::begin(effects[i].voices), std::end(effects[i].voices), -1);
        effects[i].sample = LoadSoundSample(FILES[i]);
        if (!effects[i].sample)
            unheard += std::string(" ") + FILES[i];
    }
    if (!unheard.empty())
        std::fprintf(stderr, "emberwing: playing without the sound effects missing or damaged:%s\n",
                     unheard.c_str());
}

cSoundEffects::~cSoundEffects()
{
    // The library stops every voice still playing a sample it destroys.
    for (sEffect& effect : effects)
        if (effect.sample)
            destroy_sample(effect.sample);
}

void cSoundEffects::PlayEvents(const cFrameEvents& events, int view_x, int view_y, int width,
                               int height)
{
    if (SoundMuted())
        return;
    const FrameEvent* loudest[EFFECT_COUNT] = {};
    int volumes[EFFECT_COUNT] = {};
    for (const FrameEvent& event : events) {
        const Effect effect = SOUNDS[event.kind].effect;
        const int volume = VolumeOf(event, view_x, view_y, width, height);
        if (!loudest[effect] || volume > volumes[effect]) {
            loudest[effect] = &event;
            volumes[effect] = volume;
        }
    }
    for (int i = 0; i < EFFECT_COUNT; ++i)
        if (loudest[i])
            Play(effects[i], volumes[i], PanOf(*loudest[i], view_x, width),
                 SOUNDS[loudest[i]->kind].frequency);
}

// The slots are filled in turn, so the one after the newest holds the oldest copy. Every
// copy still playing is in a slot: a copy leaves its slot only when it is stopped, or has
// ended and its voice went to something else.
void cSoundEffects::Play(sEffect& effect, int volume, int pan, int frequency)
{
    if (!effect.sample)
        return;
    int& oldest = effect.voices[effect.next];
    if (oldest >= 0 && mixer.playing(oldest) == effect.sample)
        mixer.stop(oldest);
    const int voice = mixer.play(effect.sample, volume, pan, frequency, 0);
    if (voice >= 0)
        std::replace(std::begin(effect.voices), std::end(effect.voices), voice, -1);
    oldest = voice;
    effect.next = (effect.next + 1) % MOST_COPIES;
}
