#include "sound/MidiCheck.h"
#include "sound/SampleFile.h"
#include "sound/WavCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// WAV numbers are little-endian, MIDI ones big-endian.
Bytes Number(std::uint32_t value, int count, bool little = true)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> 8 * (little ? i : count - 1 - i)));
    return bytes;
}

Bytes Chunk(const char* tag, const Bytes& body, bool little = true)
{
    return Cat({Bytes(tag, tag + 4), Number(body.size(), 4, little), body});
}

// Writes the bytes to a file of the test's own and returns its path.
std::string WriteFile(const Bytes& bytes)
{
    const std::string path = testing::TempDir() + "emberwing-sound-file";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

using Case = std::tuple<const char*, Bytes, bool>; // what, the file, whether it is sound

// The cases, no data at all, then the game's own file, which is sound, and every cut of it.
void ExpectVerdicts(bool (*check)(const unsigned char*, std::size_t),
                    const std::vector<Case>& cases, const char* path)
{
    for (const auto& [what, file, sound] : cases)
        EXPECT_EQ(check(file.data(), file.size()), sound) << what;
    EXPECT_FALSE(check(nullptr, 100));
    std::ifstream in(path, std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(file.size(), 1000u);
    ASSERT_TRUE(check(file.data(), file.size())) << path;
    for (std::size_t size = 0; size < file.size(); ++size)
        ASSERT_FALSE(check(file.data(), size)) << path << " cut at " << size;
}

Bytes Format(int kind, int channels, std::uint32_t rate, int bits, int extra = 0)
{
    return Chunk("fmt ", Cat({Number(kind, 2), Number(channels, 2), Number(rate, 4),
                              Number(rate * channels * bits / 8, 4), Number(channels * bits / 8, 2),
                              Number(bits, 2), Bytes(extra)}));
}

Bytes Riff(std::initializer_list<Bytes> chunks)
{
    return Chunk("RIFF", Cat({{'W', 'A', 'V', 'E'}, Cat(chunks)}));
}

const Bytes MONO16 = Format(1, 1, 22050, 16);
const Bytes SAMPLES = Chunk("data", Bytes(8, 0x80)); // 4 frames of 16-bit mono

Bytes With(Bytes file, std::size_t at, unsigned char value)
{
    file[at] = value;
    return file;
}

TEST(WavCheckTest, EachKindOfFileAndEveryCutOfTheGamesOwnIsAcceptedOrRefused)
{
    const std::vector<Case> cases = {
        {"8-bit stereo, highest rate", Riff({Format(1, 2, WAV_HIGHEST_RATE, 8), SAMPLES}), true},
        {"a list chunk first, a longer format, lowest rate",
         Riff({Chunk("LIST", Bytes(6)), Format(1, 1, WAV_LOWEST_RATE, 8, 2), SAMPLES}), true},
        {"a chunk after the samples", Riff({MONO16, SAMPLES, Chunk("LIST", Bytes(4))}), true},
        {"rate too low", Riff({Format(1, 1, WAV_LOWEST_RATE - 1, 16), SAMPLES}), false},
        {"rate too high", Riff({Format(1, 1, WAV_HIGHEST_RATE + 1, 16), SAMPLES}), false},
        {"not RIFF", Bytes(40, 'R'), false},
        {"not WAVE", With(Riff({MONO16, SAMPLES}), 8, 'A'), false},
        {"samples before the format", Riff({SAMPLES, MONO16}), false},
        // The reader would take the bits from the next chunk's tag.
        {"a short format",
         Riff({Chunk("fmt ", Bytes(MONO16.begin() + 8, MONO16.end() - 2)), Chunk("\x10\0..", {}),
               SAMPLES}),
         false},
        {"an odd-sized chunk", Riff({Chunk("LIST", Bytes(5)), MONO16, SAMPLES}), false},
        {"float samples", Riff({Format(3, 1, 22050, 32), SAMPLES}), false},
        {"three channels", Riff({Format(1, 3, 22050, 16), Chunk("data", Bytes(12))}), false},
        {"24 bits", Riff({Format(1, 1, 22050, 24), Chunk("data", Bytes(6))}), false},
        {"empty samples", Riff({MONO16, Chunk("data", {})}), false},
        {"half a stereo frame", Riff({Format(1, 2, 22050, 16), Chunk("data", Bytes(6))}), false},
        // 0x10000 bytes of samples said to be 0x01010000.
        {"a length past 16 MB", With(Riff({MONO16, Chunk("data", Bytes(0x10000))}), 43, 1), false},
        {"a torn chunk after the samples", Riff({MONO16, SAMPLES, Bytes(7, 'x')}), false},
        {"samples twice", Riff({MONO16, SAMPLES, SAMPLES}), false},
        {"a format after the samples", Riff({MONO16, SAMPLES, MONO16}), false},
    };
    ExpectVerdicts(WavDataIsSound, cases, "media/empty.wav");
}

const Bytes END_OF_TRACK = {0x00, 0xFF, 0x2F, 0x00};
const Bytes TEMPO = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}; // 500000 us a beat
const Bytes NOTE = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00};  // on, then off by running status

// A header, with 96 ticks a beat, and the tracks.
Bytes Midi(unsigned char format, const std::vector<Bytes>& tracks)
{
    const auto count = static_cast<unsigned char>(tracks.size());
    Bytes file = Chunk("MThd", {0, format, 0, count, 0, 96}, false);
    for (const Bytes& events : tracks)
        file = Cat({file, Chunk("MTrk", events, false)});
    return file;
}

// A format 1 file: a tempo track and one track of the given events, closed properly.
Bytes Tune(const Bytes& events)
{
    return Midi(1, {Cat({TEMPO, END_OF_TRACK}), Cat({events, END_OF_TRACK})});
}

TEST(MidiCheckTest, EachKindOfTuneAndEveryCutOfTheGamesOwnIsAcceptedOrRefused)
{
    const Bytes format0 = Midi(0, {END_OF_TRACK});
    const std::vector<Case> cases = {
        {"sysex", Tune(Cat({{0x00, 0xF0, 0x02, 0x7E, 0xF7}, NOTE})), true},
        {"channel pressure, one data byte", Tune({0x00, 0xD0, 0x40}), true},
        {"format 0", format0, true},
        {"32 tracks", Midi(1, std::vector<Bytes>(32, END_OF_TRACK)), true},
        {"no tracks", Midi(1, {}), false},
        {"33 tracks, past Allegro", Midi(1, std::vector<Bytes>(33, END_OF_TRACK)), false},
        {"format 2", Midi(2, {END_OF_TRACK}), false},
        {"division 0", With(format0, 13, 0), false},
        {"time-code division", With(format0, 12, 0xE7), false},
        {"a header of 8 bytes", With(format0, 7, 8), false},
        {"not a MIDI file", With(format0, 0, 'R'), false},
        {"running status first", Tune({0x00, 0x3C, 0x64}), false},
        {"running status after meta",
         Tune({0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x64}), false},
        {"velocity above 127", Tune({0x00, 0x90, 0x3C, 0xE4}), false},
        {"a system common byte", Tune({0x00, 0xF3, 0x01}), false},
        {"5-byte delta", Tune({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}), false},
        {"a meta event past the end", Tune({0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}), false},
        {"a two-byte tempo", Tune({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}), false},
        {"tempo zero", Tune({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}), false},
        {"an end of track with a body", Midi(0, {{0x00, 0xFF, 0x2F, 0x01, 0x00}}), false},
        {"no end of track", Midi(0, {NOTE}), false},
        {"events after the end", Midi(0, {Cat({NOTE, END_OF_TRACK, NOTE})}), false},
    };
    ExpectVerdicts(MidiDataIsSound, cases, "media/music0.mid");
}

// Files up to the limit are read, larger ones refused without reading them whole.
TEST(SoundFileChecksTest, ReadFilesAndRefuseMissingUnreadableAndOversizedOnes)
{
    for (const char* path : {"media/no-such-file", "media"}) {
        EXPECT_EQ(LoadSoundSample(path), nullptr) << path;
        EXPECT_FALSE(MidiFileIsSound(path)) << path;
    }
    // One the library would read although the check refuses it.
    EXPECT_EQ(LoadSoundSample(WriteFile(Riff({MONO16, SAMPLES, SAMPLES})).c_str()), nullptr);
    // Samples up to the limit, then the same with an empty chunk after them.
    const Bytes largest = Riff({MONO16, Chunk("data", Bytes(WAV_MOST_BYTES - 44))});
    ASSERT_EQ(largest.size(), WAV_MOST_BYTES);
    for (const Bytes& file : {largest, Cat({largest, Chunk("LIST", {})})}) {
        SAMPLE* sample = LoadSoundSample(WriteFile(file).c_str());
        EXPECT_EQ(sample != nullptr, file.size() == WAV_MOST_BYTES) << file.size();
        destroy_sample(sample);
    }
    // A sound tune padded up to the limit, then past it.
    for (std::size_t size : {MIDI_MOST_BYTES, MIDI_MOST_BYTES + 1}) {
        Bytes padded = Tune(NOTE);
        padded.resize(size);
        EXPECT_EQ(MidiFileIsSound(WriteFile(padded).c_str()), size == MIDI_MOST_BYTES) << size;
    }
}
} // namespace
