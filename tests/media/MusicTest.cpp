#include "sound/Music.h"

#include "game/PlayTypes.h"
#include "sound/SampleFile.h"
#include "sound/cSoundEffects.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
const int LOOP_START_BEAT = 8;
const int MINIMUM_LOOP_SECONDS = 60;
const int BEATS_PER_MINUTE = 150;

// The game's sound start-up with ALSA's default device replaced by a file: a private HOME
// holds an .asoundrc that records everything played into a raw file.
class MusicTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/emberwing-sound-XXXXXX";
        home = mkdtemp(pattern);
        capture = home + "/capture.raw";
        std::ofstream(home + "/.asoundrc") << "pcm.!default { type file slave.pcm \"null\" file \""
                                           << capture << "\" format \"raw\" }\n";
        setenv("HOME", home.c_str(), 1);
        StartSound();
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + home + "'").c_str()); }

    static std::string home;
    static std::string capture;
};
std::string MusicTest::home;
std::string MusicTest::capture;

// RMS amplitude (0 to 1) that sox measures in the recording, or -1 when it cannot read it.
// Allegro's mixer hands ALSA unsigned samples in the layout it reports, so the recording is
// read as raw data of that layout.
double RmsAmplitude(const std::string& path, int bits, int channels, int frequency)
{
    std::string command = "sox -t raw -e unsigned -b " + std::to_string(bits) + " -c " +
                          std::to_string(channels) + " -r " + std::to_string(frequency) + " '" +
                          path + "' -n stat 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char line[256];
    double rms = -1;
    while (std::fgets(line, sizeof(line), pipe))
        std::sscanf(line, "RMS amplitude: %lf", &rms);
    pclose(pipe);
    return rms;
}
} // namespace

TEST_F(MusicTest, SoftwarePlayerStartsWithThePatchSetBesideTheTune)
{
    ASSERT_NE(digi_driver, nullptr);
    ASSERT_NE(midi_driver, nullptr);
    EXPECT_NE(digi_driver->id, DIGI_NONE) << allegro_error;
    EXPECT_EQ(midi_driver->id, MIDI_DIGMID) << allegro_error;
}

TEST_F(MusicTest, TuneLoopsForAMinuteFromBeatEight)
{
    MIDI* music = load_midi("media/music0.mid");
    ASSERT_NE(music, nullptr);
    const int seconds = get_midi_length(music);
    const int intro_seconds = LOOP_START_BEAT * 60 / BEATS_PER_MINUTE;
    EXPECT_GE(seconds - intro_seconds, MINIMUM_LOOP_SECONDS);
    ASSERT_EQ(play_looped_midi(music, LOOP_START_BEAT, -1), 0);
    EXPECT_EQ(midi_seek(LOOP_START_BEAT), 0);
    EXPECT_GT(midi_pos, 0);
    // A seek past the end is refused, so the one above did land inside the tune.
    const int beats = seconds * BEATS_PER_MINUTE / 60;
    EXPECT_NE(midi_seek(beats + LOOP_START_BEAT), 0);
    stop_midi();
    destroy_midi(music);
}

// The effects through the library's own mixer: its voices tell what plays.
TEST_F(MusicTest, EffectsPlayInTheMixerThreeCopiesAtMost)
{
    SAMPLE* boom = LoadSoundSample("media/boom.wav");
    ASSERT_NE(boom, nullptr);
    cSoundEffects effects;
    cFrameEvents strike;
    strike.Add(EVENT_BLAST_STRIKE, 400, 300 + FLYING_ALTITUDE);
    for (int frame = 1; frame <= 5; ++frame) {
        effects.PlayEvents(strike, 0, 0, 800, 600);
        int copies = 0;
        for (int voice = 0; voice < 256; ++voice) {
            const SAMPLE* sample = voice_check(voice);
            copies += sample && sample->len == boom->len;
        }
        EXPECT_EQ(copies, std::min(frame, cSoundEffects::MOST_COPIES)) << "after " << frame;
    }
    destroy_sample(boom);
}

// Runs last in this program: it shuts sound down so the recording is complete.
TEST_F(MusicTest, ZzTunePlayedByTheGameIsAudible)
{
    MIDI* music = StartMusic();
    ASSERT_NE(music, nullptr);
    rest(3000);
    stop_midi();
    destroy_midi(music);
    const int bits = get_mixer_bits(), channels = get_mixer_channels();
    const int frequency = get_mixer_frequency();
    remove_sound();
    const double rms = RmsAmplitude(capture, bits, channels, frequency);
    EXPECT_GT(rms, 0.01) << "the recording is silent or unreadable";
    std::printf("RMS amplitude of the recording: %.3f\n", rms);
}
