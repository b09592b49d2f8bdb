#include "sound/Music.h"

#include "game/PlayTypes.h"
#include "sound/cSoundEffects.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
// The game's sound start-up with ALSA's default device replaced by one that plays nowhere (a
// private HOME holds the .asoundrc), then the effects through the library's own mixer, whose
// voices tell what plays, then the tune. tests/e2e/effects.sh listens to what is played.
TEST(MusicTest, TheGamesSoundStartsPlaysItsEffectsAndTheTuneAfterItsIntro)
{
    char pattern[] = "/tmp/emberwing-sound-XXXXXX";
    const std::string home = mkdtemp(pattern);
    std::ofstream(home + "/.asoundrc") << "pcm.!default { type null }\n";
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
    // A minute at least from the loop's start, 8 beats in at 150 beats a minute, to the end.
    EXPECT_GE(get_midi_length(music) - 8 * 60 / 150, 60); // stops the tune
    destroy_midi(music);
    remove_sound();
    std::filesystem::remove_all(home);
}
} // namespace
