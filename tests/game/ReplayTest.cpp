#include "game/Replay.h"

#include "city/cCity.h"
#include "game/cPlayPhase.h"
#include "support/Headless.h"
#include "support/Scripted.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
// A session of the real game recorded by tools/record-session: about half a minute of
// flying, throwing, blasting and switching play areas.
const char* const SESSION = "tests/game/recorded-session.txt";

// FNV-1a over the cell codes, row by row.
uint32_t CityDigest(const cCity& city)
{
    uint32_t digest = 2166136261u;
    for (int row = 0; row < city.height; ++row)
        for (int column = 0; column < city.width; ++column)
            digest = (digest ^ static_cast<uint32_t>(city.grid[row][column])) * 16777619u;
    return digest;
}

// The regression net for the frame: any change to what a frame does to the game shows here.
// After an intended change, the new values come from this test's failure message.
TEST(ReplayTest, TheRecordedSessionEndsAsTheRealGameDidWithTheSameCityAndEvents)
{
    Recording recording;
    ASSERT_TRUE(ReadRecording(SESSION, recording));
    for (int run = 0; run < 2; ++run) {
        HeadlessScreen screen;
        cPlayPhase play(nullptr, {MemorySetMode, [] {}});
        Ints events(EVENT_KIND_COUNT); // counts by kind
        const long frames = Replay(recording, play, [&](const cPlayPhase& stepped) {
            for (const FrameEvent& event : stepped.Events())
                ++events[event.kind];
        });
        EXPECT_EQ(recording.end_population, play.city->GetPopulation()) << "run " << run;
        EXPECT_EQ(static_cast<long>(recording.frames.size()), frames) << "run " << run;
        EXPECT_EQ(3148590405u, CityDigest(*play.city)) << "run " << run;
        // throw, bounce on a roof, on the ground, burst, blast begun, strike, energy empty
        EXPECT_EQ((Ints{155, 218, 53, 155, 4, 7, 4}), events) << "run " << run;
    }
}

TEST(ReplayTest, ARecordingReadsBackAsWrittenAndAMalformedOneIsRefused)
{
    const std::filesystem::path folder = NewTempFolder("emberwing-replay-");
    const std::string name = (folder / "recording").u8string();
    const char* const path = name.c_str();
    const Controls a = Held({&Controls::up, &Controls::fire}), b = Held({&Controls::pause});
    const std::vector<Controls> frames = {a, a, a, Controls(), b, b};
    {
        cRecorder recorder(path, 4242);
        for (const Controls& controls : frames)
            recorder.Add(controls);
        recorder.Close(17);
    }
    {
        std::ifstream written(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(written), {}};
        EXPECT_EQ(std::string::npos, bytes.find('\r')) << "the same lines on every system";
    }
    Recording read;
    ASSERT_TRUE(ReadRecording(path, read));
    EXPECT_EQ((Ints{4242, 17}), (Ints{static_cast<int>(read.seed), read.end_population}));
    ASSERT_EQ(frames.size(), read.frames.size());
    EXPECT_EQ(0, std::memcmp(frames.data(), read.frames.data(), sizeof a * frames.size()));

    // Written by hand on Windows, or carried there and back: the line ends do not matter.
    {
        std::FILE* file = std::fopen(path, "wb");
        std::fputs("12\r\n3 UT\r\n1 -\r\nend population 5\r\n", file);
        std::fclose(file);
        ASSERT_TRUE(ReadRecording(path, read));
        EXPECT_EQ((Ints{12, 5, 4}), (Ints{static_cast<int>(read.seed), read.end_population,
                                          static_cast<int>(read.frames.size())}));
        EXPECT_EQ(0, std::memcmp(&a, read.frames.data(), sizeof a));
    }
    for (const char* damaged : {"12\n3 UQ\n", "12\n0 U\n", "12\nthree U\n", ""}) {
        std::FILE* file = std::fopen(path, "w");
        std::fputs(damaged, file);
        std::fclose(file);
        EXPECT_FALSE(ReadRecording(path, read)) << damaged;
    }
    std::filesystem::remove_all(folder);
}
} // namespace
