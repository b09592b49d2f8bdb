#include "sound/MidiCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

const Bytes END_OF_TRACK = {0x00, 0xFF, 0x2F, 0x00};
const Bytes TEMPO = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}; // 500000 us a beat
const Bytes NOTE = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00};  // on, then off by running status

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// The header chunk, with a division of 96 ticks a beat.
Bytes Header(unsigned char format, unsigned char tracks)
{
    return Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, tracks, 0, 96};
}

Bytes Track(const Bytes& events, std::uint32_t length)
{
    Bytes chunk = {'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.push_back(static_cast<unsigned char>(length >> shift));
    return Cat({chunk, events});
}

Bytes Track(const Bytes& events) { return Track(events, events.size()); }

// A header followed by count tracks that hold nothing but their end.
Bytes EmptyTracks(const Bytes& header, int count)
{
    Bytes file = header;
    for (int t = 0; t < count; ++t)
        file = Cat({file, Track(END_OF_TRACK)});
    return file;
}

// A format 1 file: a tempo track and one track of the given events, closed properly.
Bytes Tune(const Bytes& events)
{
    return Cat(
        {Header(1, 2), Track(Cat({TEMPO, END_OF_TRACK})), Track(Cat({events, END_OF_TRACK}))});
}

Bytes WithByte(Bytes file, std::size_t at, unsigned char value)
{
    file[at] = value;
    return file;
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MidiCheckTest, EachKindOfTuneIsAcceptedOrRefused)
{
    const Bytes notes = Cat({NOTE, END_OF_TRACK});
    auto long_track = [&](std::uint32_t length) {
        return Cat({Header(1, 2), Track(Cat({TEMPO, END_OF_TRACK})), Track(notes, length)});
    };
    const struct {
        const char* what;
        Bytes file;
        bool sound;
    } cases[] = {
        {"a small tune", Tune(NOTE), true},
        {"sysex", Tune(Cat({{0x00, 0xF0, 0x02, 0x7E, 0xF7}, NOTE})), true},
        {"format 0", EmptyTracks(Header(0, 1), 1), true},
        {"32 tracks", EmptyTracks(Header(1, 32), 32), true},
        {"no tracks", EmptyTracks(Header(1, 0), 0), false},
        {"33 tracks, past Allegro", EmptyTracks(Header(1, 33), 33), false},
        {"fewer tracks than announced", EmptyTracks(Header(1, 3), 2), false},
        {"format 2", EmptyTracks(Header(2, 1), 1), false},
        {"division 0", WithByte(EmptyTracks(Header(0, 1), 1), 13, 0), false},
        {"time-code division", WithByte(EmptyTracks(Header(0, 1), 1), 12, 0xE7), false},
        {"a header of 8 bytes", WithByte(EmptyTracks(Header(0, 1), 1), 7, 8), false},
        {"not a MIDI file", WithByte(EmptyTracks(Header(0, 1), 1), 0, 'R'), false},
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
        {"an end of track with a body", Tune({0x00, 0xFF, 0x2F, 0x01, 0x00}), false},
        {"no end of track", Cat({Header(0, 1), Track(NOTE)}), false},
        {"events after the end", Cat({Header(0, 1), Track(Cat({notes, NOTE}))}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MidiDataIsSound(c.file.data(), c.file.size()), c.sound) << c.what;
}

TEST(MidiCheckTest, RefusesEveryTruncationOfTheGamesTune)
{
    const Bytes tune = ReadFile("media/music0.mid");
    ASSERT_GT(tune.size(), 1000u);
    for (std::size_t size = 0; size < tune.size(); ++size)
        ASSERT_FALSE(MidiDataIsSound(tune.data(), size)) << "cut at " << size;
}

TEST(MidiCheckTest, ReadsSoundFilesAndRefusesMissingUnreadableAndOversizedOnes)
{
    EXPECT_TRUE(MidiFileIsSound("media/music0.mid"));
    EXPECT_FALSE(MidiFileIsSound("media/no-such-tune.mid"));
    EXPECT_FALSE(MidiFileIsSound("media"));
    EXPECT_FALSE(MidiDataIsSound(nullptr, 100));
    // A sound tune padded up to the limit, then past it: refused without reading it whole.
    const std::string path = testing::TempDir() + "emberwing-padded.mid";
    for (std::size_t size : {MIDI_MOST_BYTES, MIDI_MOST_BYTES + 1}) {
        Bytes padded = Tune(NOTE);
        padded.resize(size);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(padded.data()), std::streamsize(size));
        EXPECT_EQ(MidiFileIsSound(path.c_str()), size == MIDI_MOST_BYTES) << size;
    }
}
} // namespace
