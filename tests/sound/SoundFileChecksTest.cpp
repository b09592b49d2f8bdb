#include "sound/MidiCheck.h"
#include "sound/SampleFile.h"
#include "sound/WavCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
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

Bytes Tag(const char* tag) { return Bytes(tag, tag + 4); }

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes the bytes to a file of the test's own and returns its path.
std::string WriteFile(const Bytes& bytes)
{
    const std::string path = testing::TempDir() + "emberwing-sound-file";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

Bytes Chunk(const char* tag, const Bytes& body, std::uint32_t length)
{
    return Cat({Tag(tag), Number(length, 4), body});
}

Bytes Chunk(const char* tag, const Bytes& body) { return Chunk(tag, body, body.size()); }

Bytes Format(int kind, int channels, std::uint32_t rate, int bits, int extra = 0)
{
    return Chunk("fmt ", Cat({Number(kind, 2), Number(channels, 2), Number(rate, 4),
                              Number(rate * channels * bits / 8, 4), Number(channels * bits / 8, 2),
                              Number(bits, 2), Bytes(extra)}));
}

Bytes Riff(std::initializer_list<Bytes> chunks)
{
    const Bytes body = Cat(chunks);
    return Cat({Tag("RIFF"), Number(body.size() + 4, 4), Tag("WAVE"), body});
}

const Bytes MONO16 = Format(1, 1, 22050, 16);
const Bytes SAMPLES = Chunk("data", Bytes(8, 0x80)); // 4 frames of 16-bit mono

TEST(WavCheckTest, EachKindOfFileIsAcceptedOrRefused)
{
    Bytes not_wave = Riff({MONO16, SAMPLES});
    not_wave[8] = 'A';
    const struct {
        const char* what;
        Bytes file;
        bool sound;
    } cases[] = {
        {"16-bit mono", Riff({MONO16, SAMPLES}), true},
        {"8-bit stereo", Riff({Format(1, 2, 11025, 8), SAMPLES}), true},
        {"a list chunk first, a longer format",
         Riff({Chunk("LIST", Bytes(6)), Format(1, 1, 8000, 8, 2), SAMPLES}), true},
        {"lowest rate", Riff({Format(1, 1, WAV_LOWEST_RATE, 16), SAMPLES}), true},
        {"highest rate", Riff({Format(1, 1, WAV_HIGHEST_RATE, 16), SAMPLES}), true},
        {"rate too low", Riff({Format(1, 1, WAV_LOWEST_RATE - 1, 16), SAMPLES}), false},
        {"rate too high", Riff({Format(1, 1, WAV_HIGHEST_RATE + 1, 16), SAMPLES}), false},
        {"not RIFF", Bytes(40, 'R'), false},
        {"not WAVE", not_wave, false},
        {"no format", Riff({SAMPLES}), false},
        {"samples before the format", Riff({SAMPLES, MONO16}), false},
        {"no samples", Riff({MONO16}), false},
        // The reader would take the bits from the next chunk's tag.
        {"a short format",
         Riff({Chunk("fmt ", Bytes(MONO16.begin() + 8, MONO16.end() - 2)), Chunk("\x10\0..", {}),
               SAMPLES}),
         false},
        {"an odd-sized chunk", Riff({Chunk("LIST", Bytes(5)), MONO16, SAMPLES}), false},
        {"float samples", Riff({Format(3, 1, 22050, 32), SAMPLES}), false},
        {"extensible format", Riff({Format(0xFFFE, 1, 22050, 16), SAMPLES}), false},
        {"three channels", Riff({Format(1, 3, 22050, 16), Chunk("data", Bytes(12))}), false},
        {"no channels", Riff({Format(1, 0, 22050, 16), SAMPLES}), false},
        {"24 bits", Riff({Format(1, 1, 22050, 24), Chunk("data", Bytes(6))}), false},
        {"empty samples", Riff({MONO16, Chunk("data", {})}), false},
        {"half a sample", Riff({MONO16, Chunk("data", Bytes(7))}), false},
        {"half a stereo frame", Riff({Format(1, 2, 22050, 16), Chunk("data", Bytes(6))}), false},
        {"samples past the end", Riff({MONO16, Chunk("data", Bytes(8), 10)}), false},
        {"a length past 16 MB", Riff({MONO16, Chunk("data", Bytes(0x10000), 0x01010000)}), false},
        {"a chunk after the samples", Riff({MONO16, SAMPLES, Chunk("LIST", Bytes(4))}), true},
        {"a torn chunk after the samples", Riff({MONO16, SAMPLES, Bytes(7, 'x')}), false},
        {"samples twice", Riff({MONO16, SAMPLES, SAMPLES}), false},
        {"a format after the samples", Riff({MONO16, SAMPLES, MONO16}), false},
        {"an odd number of bytes", Riff({Format(1, 1, 8000, 8), Chunk("data", Bytes(3))}), false},
        {"a chunk length that wraps", Riff({Chunk("LIST", {}, 0xFFFFFFFE), MONO16, SAMPLES}),
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WavDataIsSound(c.file.data(), c.file.size()), c.sound) << c.what;
    EXPECT_FALSE(WavDataIsSound(nullptr, 100));
}

const Bytes END_OF_TRACK = {0x00, 0xFF, 0x2F, 0x00};
const Bytes TEMPO = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}; // 500000 us a beat
const Bytes NOTE = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00};  // on, then off by running status

// The header chunk, with a division of 96 ticks a beat.
Bytes Header(unsigned char format, unsigned char tracks)
{
    return Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, tracks, 0, 96};
}

Bytes Track(const Bytes& events, std::uint32_t length)
{
    return Cat({Tag("MTrk"), Number(length, 4, false), events});
}

Bytes Track(const Bytes& events) { return Track(events, events.size()); }

// A header followed by count tracks that hold nothing but their end, with byte at changed
// to value when at is given.
Bytes EmptyTracks(unsigned char format, int count, std::size_t at = 0, unsigned char value = 'M')
{
    Bytes file = Header(format, count);
    for (int t = 0; t < count; ++t)
        file = Cat({file, Track(END_OF_TRACK)});
    file[at] = value;
    return file;
}

// A format 1 file: a tempo track and one track of the given events, closed properly.
Bytes Tune(const Bytes& events)
{
    return Cat(
        {Header(1, 2), Track(Cat({TEMPO, END_OF_TRACK})), Track(Cat({events, END_OF_TRACK}))});
}

TEST(MidiCheckTest, EachKindOfTuneIsAcceptedOrRefused)
{
    auto long_track = [](std::uint32_t length) {
        return Cat({Header(1, 2), Track(Cat({TEMPO, END_OF_TRACK})),
                    Track(Cat({NOTE, END_OF_TRACK}), length)});
    };
    const struct {
        const char* what;
        Bytes file;
        bool sound;
    } cases[] = {
        {"a small tune", Tune(NOTE), true},
        {"sysex", Tune(Cat({{0x00, 0xF0, 0x02, 0x7E, 0xF7}, NOTE})), true},
        {"channel pressure, one data byte", Tune({0x00, 0xD0, 0x40}), true},
        {"format 0", EmptyTracks(0, 1), true},
        {"32 tracks", EmptyTracks(1, 32), true},
        {"no tracks", EmptyTracks(1, 0), false},
        {"33 tracks, past Allegro", EmptyTracks(1, 33), false},
        {"fewer tracks than announced", EmptyTracks(1, 2, 11, 3), false},
        {"format 2", EmptyTracks(2, 1), false},
        {"division 0", EmptyTracks(0, 1, 13, 0), false},
        {"time-code division", EmptyTracks(0, 1, 12, 0xE7), false},
        {"a header of 8 bytes", EmptyTracks(0, 1, 7, 8), false},
        {"not a MIDI file", EmptyTracks(0, 1, 0, 'R'), false},
        {"a track length past the end", long_track(0x100), false},
        {"a track length that wraps", long_track(0xFFFFFFFF), false},
        {"running status first", Tune({0x00, 0x3C, 0x64}), false},
        {"running status after meta", Tune(Cat({NOTE, {0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x64}})),
         false},
        {"note number above 127", Tune({0x00, 0x90, 0xBC, 0x64}), false},
        {"velocity above 127", Tune({0x00, 0x90, 0x3C, 0xE4}), false},
        {"program above 127", Tune({0x00, 0xC0, 0x80}), false},
        {"a system common byte", Tune({0x00, 0xF3, 0x01}), false},
        {"5-byte delta", Tune({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}), false},
        {"a meta event past the end", Tune({0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}), false},
        {"a sysex past the end", Tune({0x00, 0xF0, 0x40, 0x01}), false},
        {"a two-byte tempo", Tune({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}), false},
        {"tempo zero", Tune({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}), false},
        {"a meta type above 127", Tune({0x00, 0xFF, 0xA0, 0x00}), false},
        {"an end of track with a body", Cat({Header(0, 1), Track({0x00, 0xFF, 0x2F, 0x01, 0x00})}),
         false},
        {"no end of track", Cat({Header(0, 1), Track(NOTE)}), false},
        {"events after the end", Cat({Header(0, 1), Track(Cat({NOTE, END_OF_TRACK, NOTE}))}),
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MidiDataIsSound(c.file.data(), c.file.size()), c.sound) << c.what;
    EXPECT_FALSE(MidiDataIsSound(nullptr, 100));
}

TEST(SoundFileChecksTest, RefuseEveryTruncationOfTheGamesFiles)
{
    for (auto [path, check] : {std::pair{"media/empty.wav", WavDataIsSound},
                               std::pair{"media/music0.mid", MidiDataIsSound}}) {
        const Bytes file = ReadFile(path);
        ASSERT_GT(file.size(), 1000u);
        ASSERT_TRUE(check(file.data(), file.size())) << path;
        for (std::size_t size = 0; size < file.size(); ++size)
            ASSERT_FALSE(check(file.data(), size)) << path << " cut at " << size;
    }
}

// Files up to the limit are read, larger ones refused without reading them whole.
TEST(SoundFileChecksTest, ReadFilesAndRefuseMissingUnreadableAndOversizedOnes)
{
    SAMPLE* effect = LoadSoundSample("media/boom.wav");
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(effect->bits == 16 && !effect->stereo && effect->freq == 22050);
    EXPECT_EQ(effect->len, (ReadFile("media/boom.wav").size() - 44) / 2);
    destroy_sample(effect);
    EXPECT_TRUE(MidiFileIsSound("media/music0.mid"));
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
        if (sample)
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
