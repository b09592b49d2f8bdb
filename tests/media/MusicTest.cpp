#include "sound/Music.h"

#include "game/PlayTypes.h"
#include "sound/cSoundEffects.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {
const int LOOP_START_BEAT = 8;
const int MINIMUM_LOOP_SECONDS = 60;
const int BEATS_PER_MINUTE = 150;

// RMS amplitude (0 to 1) that sox measures in the recording, or -1 when it cannot read it.
// Allegro's mixer hands ALSA unsigned samples in the layout it reports, so the recording is
// read as raw data of that layout.
double RmsAmplitude(const std::string& path, int bits, int channels, int frequency)
{
    const std::string command = "sox -t raw -e unsigned -b " + std::to_string(bits) + " -c " +
                                std::to_string(channels) + " -r " + std::to_string(frequency) +
                                " '" + path + "' -n stat 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    double rms = -1;
    char line[256];
    while (pipe && std::fgets(line, sizeof(line), pipe))
        std::sscanf(line, "RMS amplitude: %lf", &rms);
    if (pipe)
        pclose(pipe);
    return rms;
}

// The game's sound start-up with ALSA's default device replaced by a file (a private HOME
// holds an .asoundrc that records everything played), then the effects through the library's
// own mixer, whose voices tell what plays, then the tune, recorded until sound shuts down.
TEST(MusicTest, TheGamesSoundStartsPlaysItsEffectsAndAnAudibleTuneAfterItsIntro)
{
    char pattern[] = "/tmp/emberwing-sound-XXXXXX";
    const std::string home = mkdtemp(pattern), capture = home + "/capture.raw";
    std::ofstream(home + "/.asoundrc") << "pcm.!default { type file slave.pcm \"null\" file \""
                                       << capture << "\" format \"raw\" }\n";
    setenv("HOME", home.c_str(), 1);
    StartSound();
    ASSERT_TRUE(digi_driver && midi_driver);
    EXPECT_NE(digi_driver->id, DIGI_NONE) << allegro_error;
    EXPECT_EQ(midi_driver->id, MIDI_DIGMID) << "no software player with the patch set";

    cSoundEffects effects;
    cFrameEvents strike;
    strike.Add(EVENT_BLAST_STRIKE, 400, 300 + FLYING_ALTITUDE);
    for (int frame = 1; frame <= 5; ++frame) {
        effects.PlayEvents(strike, 0, 0, 800, 600);
        int copies = 0;
        for (int voice = 0; voice < 256; ++voice)
            copies += voice_check(voice) != nullptr;
        EXPECT_EQ(copies, std::min(frame, cSoundEffects::MOST_COPIES)) << "after " << frame;
    }

    MIDI* music = StartMusic();
    ASSERT_NE(music, nullptr);
    EXPECT_GT(midi_pos, 0) << "the tune did not skip its intro";
    rest(3000);
    const int intro_seconds = LOOP_START_BEAT * 60 / BEATS_PER_MINUTE;
    EXPECT_GE(get_midi_length(music) - intro_seconds, MINIMUM_LOOP_SECONDS); // stops the tune
    destroy_midi(music);
    const int bits = get_mixer_bits(), channels = get_mixer_channels();
    const int frequency = get_mixer_frequency();
    remove_sound();
    const double rms = RmsAmplitude(capture, bits, channels, frequency);
    EXPECT_GT(rms, 0.01) << "the recording is silent or unreadable";
    std::printf("RMS amplitude of the recording: %.3f\n", rms);
    std::system(("rm -rf '" + home + "'").c_str());
}
} // namespace
