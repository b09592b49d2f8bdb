#include "sound/cSoundEffects.h"

#include "game/PlayTypes.h"
#include "sound/Mute.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {
const int VIEW_X = 1000, VIEW_Y = 2000, WIDTH = 800, HEIGHT = 600;
// The ground point under the faerie.
const int HER_X = VIEW_X + WIDTH / 2, HER_Y = VIEW_Y + HEIGHT / 2 + FLYING_ALTITUDE;

using Played = std::tuple<std::string, int, int, int>; // file, volume, pan, frequency

// The mixer as the tests hear it: voices are numbered in the order they start and play
// until a test ends them; voice numbers can be handed out again.
std::vector<Played> _played;
std::vector<int> _stopped;
std::map<int, const SAMPLE*> _playing; // by voice
int _next_voice = 0;
std::map<int, std::string> _file_by_length;

const cSoundEffects::Mixer FAKE_MIXER = {
    [](const SAMPLE* sample, int volume, int pan, int frequency, int loop) {
        EXPECT_EQ(loop, 0);
        _played.emplace_back(_file_by_length[sample->len], volume, pan, frequency);
        _playing[_next_voice] = sample;
        return _next_voice++;
    },
    [](int voice) {
        return _playing.count(voice) ? const_cast<SAMPLE*>(_playing[voice]) : nullptr;
    },
    [](int voice) {
        _stopped.push_back(voice);
        _playing.erase(voice);
    }};

std::pair<int, int> Volumes()
{
    int digital, midi;
    get_volume(&digital, &midi);
    return {digital, midi};
}

class SoundEffectsTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const char* file : {"throw", "bounce", "crumble", "charge", "boom", "empty"}) {
            SAMPLE* sample = load_sample(("media/" + std::string(file) + ".wav").c_str());
            ASSERT_NE(sample, nullptr) << file;
            _file_by_length[sample->len] = file;
            destroy_sample(sample);
        }
    }
    void SetUp() override
    {
        _played.clear();
        _stopped.clear();
        _playing.clear();
        _next_voice = 0;
        SetSoundMuted(false);
    }

    // One frame holding the given events.
    void Frame(std::initializer_list<FrameEvent> list)
    {
        cFrameEvents events;
        for (const FrameEvent& event : list)
            events.Add(event.kind, event.x, event.y);
        effects.PlayEvents(events, VIEW_X, VIEW_Y, WIDTH, HEIGHT);
    }

    cSoundEffects effects{FAKE_MIXER};
};

TEST_F(SoundEffectsTest, EachEventIsHeardFromWhereItHappened)
{
    const std::pair<FrameEvent, Played> cases[] = {
        {{EVENT_BLAST_STRIKE, HER_X, HER_Y}, {"boom", 255, 128, 1000}},
        {{EVENT_THROW, HER_X, HER_Y}, {"throw", 150, 128, 1000}},
        {{EVENT_BURST, HER_X, HER_Y}, {"crumble", 220, 128, 1000}},
        {{EVENT_BLAST_BEGUN, HER_X, HER_Y}, {"charge", 190, 128, 1000}},
        {{EVENT_ENERGY_EMPTY, HER_X, HER_Y}, {"empty", 200, 128, 1000}},
        {{EVENT_BOUNCE_GROUND, HER_X, HER_Y}, {"bounce", 170, 128, 1000}},
        {{EVENT_BOUNCE_ROOF, HER_X, HER_Y}, {"bounce", 90, 128, 1250}},
        // Half as loud 400 pixels away, at the play area's edge not wholly to one side.
        {{EVENT_BLAST_STRIKE, HER_X + 400, HER_Y}, {"boom", 127, 224, 1000}},
        {{EVENT_BLAST_STRIKE, HER_X + 300, HER_Y + 400}, {"boom", 113, 200, 1000}},
        {{EVENT_BLAST_STRIKE, HER_X - 2000, HER_Y}, {"boom", 42, 0, 1000}},
    };
    for (const auto& [event, heard] : cases) {
        _played.clear();
        Frame({event});
        EXPECT_EQ(_played, std::vector{heard})
            << "at " << event.x - HER_X << "," << event.y - HER_Y << " from her";
    }
}

TEST_F(SoundEffectsTest, AFrameStartsEachEffectOnceAtItsLoudest)
{
    Frame({{EVENT_BLAST_STRIKE, HER_X + 1200, HER_Y},
           {EVENT_THROW, HER_X, HER_Y},
           {EVENT_BLAST_STRIKE, HER_X - 400, HER_Y},
           {EVENT_BOUNCE_ROOF, HER_X, HER_Y},
           {EVENT_BOUNCE_GROUND, HER_X, HER_Y},
           {EVENT_BLAST_STRIKE, HER_X + 800, HER_Y}});
    // The ground's bounce is the louder, the strike at -400 the nearest.
    EXPECT_EQ(_played,
              (std::vector<Played>{
                  {"throw", 150, 128, 1000}, {"bounce", 170, 128, 1000}, {"boom", 127, 32, 1000}}));
}

TEST_F(SoundEffectsTest, ANewCopyBeyondThreeStopsTheOldestStillPlaying)
{
    for (int frame = 0; frame < 4; ++frame)
        Frame({{EVENT_BLAST_STRIKE, HER_X, HER_Y}});
    EXPECT_EQ(_stopped, std::vector<int>{0});
    // Other effects have copies of their own (the stops below would show it otherwise).
    Frame({{EVENT_THROW, HER_X, HER_Y}});
    // A copy that has ended is not stopped again: the oldest now (voice 1) is done.
    _playing.erase(1);
    Frame({{EVENT_BLAST_STRIKE, HER_X, HER_Y}});
    EXPECT_EQ(_playing.size(), 4u) << "three booms and the throw";
    // A voice whose copy ended early can go to the next copy; it must not then count as
    // the oldest as well. Kept now: voices 3, 5 and 2, the oldest first; 3 ends early.
    _playing.erase(3);
    _next_voice = 3;
    Frame({{EVENT_BLAST_STRIKE, HER_X, HER_Y}}); // stops 2, plays on 3
    _next_voice = 7;
    Frame({{EVENT_BLAST_STRIKE, HER_X, HER_Y}}); // a slot was free: stops nothing
    EXPECT_EQ(_stopped, (std::vector<int>{0, 2}));
    Frame({{EVENT_BLAST_STRIKE, HER_X, HER_Y}});
    EXPECT_EQ(_stopped, (std::vector<int>{0, 2, 5}));
}

TEST_F(SoundEffectsTest, MuteSilencesEverythingUntilItIsLifted)
{
    SetSoundMuted(true); // its silence is heard in tests/e2e/effects.sh
    Frame({{EVENT_BLAST_STRIKE, HER_X, HER_Y}, {EVENT_THROW, HER_X, HER_Y}});
    EXPECT_TRUE(_played.empty());

    ToggleSoundMute();
    EXPECT_EQ(Volumes(), std::pair(255, 255)) << "a volume never set comes back full";

    set_volume(100, 50);
    SetSoundMuted(true);
    SetSoundMuted(true); // the second must not take the silence for the volume to restore
    ToggleSoundMute();
    EXPECT_EQ(Volumes(), std::pair(100, 50));
    set_volume(255, 255);
}
} // namespace
