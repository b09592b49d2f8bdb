#include "game/MidiCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

const Bytes END_OF_TRACK = {0x00, 0xFF, 0x2F, 0x00};
const Bytes TEMPO = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}; // 500000 us a beat
const Bytes NOTE = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00};  // on, then off by running status

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

void Append32(Bytes& to, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        to.push_back(static_cast<unsigned char>(value >> shift));
}

Bytes Header(int format, int tracks, int division)
{
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    for (int value : {format, tracks, division}) {
        file.push_back(static_cast<unsigned char>(value >> 8));
        file.push_back(static_cast<unsigned char>(value));
    }
    return file;
}

Bytes Track(const Bytes& events)
{
    Bytes chunk = {'M', 'T', 'r', 'k'};
    Append32(chunk, static_cast<std::uint32_t>(events.size()));
    Append(chunk, events);
    return chunk;
}

// A format 1 file: a tempo track and one track of the given events, closed properly.
Bytes TuneWith(const Bytes& events)
{
    Bytes file = Header(1, 2, 96);
    Bytes tempo = TEMPO;
    Append(tempo, END_OF_TRACK);
    Append(file, Track(tempo));
    Bytes notes = events;
    Append(notes, END_OF_TRACK);
    Append(file, Track(notes));
    return file;
}

bool Sound(const Bytes& file) { return MidiDataIsSound(file.data(), file.size()); }

Bytes ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST(MidiCheckTest, AcceptsTheGamesTuneAndAWellFormedSmallFile)
{
    EXPECT_TRUE(MidiFileIsSound("media/music0.mid"));
    EXPECT_TRUE(Sound(TuneWith(NOTE)));
    Bytes with_sysex = {0x00, 0xF0, 0x02, 0x7E, 0xF7};
    Append(with_sysex, NOTE);
    EXPECT_TRUE(Sound(TuneWith(with_sysex)));
}

TEST(MidiCheckTest, RefusesEveryTruncationOfTheGamesTune)
{
    const Bytes tune = ReadFile("media/music0.mid");
    ASSERT_GT(tune.size(), 1000u);
    for (std::size_t size = 0; size < tune.size(); ++size)
        ASSERT_FALSE(MidiDataIsSound(tune.data(), size)) << "cut at " << size;
}

TEST(MidiCheckTest, RefusesHeadersAllegroCannotPlay)
{
    const Bytes notes = Track(Bytes{0x00, 0xFF, 0x2F, 0x00});
    auto with_header = [&](const Bytes& header, int tracks) {
        Bytes file = header;
        for (int t = 0; t < tracks; ++t)
            Append(file, notes);
        return file;
    };
    EXPECT_TRUE(Sound(with_header(Header(0, 1, 96), 1)));
    EXPECT_TRUE(Sound(with_header(Header(1, 32, 96), 32)));
    EXPECT_FALSE(Sound(with_header(Header(1, 0, 96), 0))) << "no tracks";
    EXPECT_FALSE(Sound(with_header(Header(1, 33, 96), 33))) << "more tracks than Allegro holds";
    EXPECT_FALSE(Sound(with_header(Header(1, 3, 96), 2))) << "fewer tracks than announced";
    EXPECT_FALSE(Sound(with_header(Header(2, 1, 96), 1))) << "format 2";
    EXPECT_FALSE(Sound(with_header(Header(0, 1, 0), 1))) << "division 0";
    EXPECT_FALSE(Sound(with_header(Header(0, 1, 0xE728), 1))) << "time-code division";

    Bytes long_header = with_header(Header(0, 1, 96), 1);
    long_header[7] = 8;
    EXPECT_FALSE(Sound(long_header));
    Bytes riff = with_header(Header(0, 1, 96), 1);
    riff[0] = 'R';
    EXPECT_FALSE(Sound(riff));
}

TEST(MidiCheckTest, RefusesTrackLengthsBeyondTheFile)
{
    Bytes file = TuneWith(NOTE);
    const std::size_t second_length = 14 + 8 + TEMPO.size() + END_OF_TRACK.size() + 4;
    for (std::uint32_t length : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x100u}) {
        Bytes huge = file;
        for (int i = 0; i < 4; ++i)
            huge[second_length + i] = static_cast<unsigned char>(length >> (24 - 8 * i));
        EXPECT_FALSE(Sound(huge)) << length;
    }
}

TEST(MidiCheckTest, RefusesEventsThatLeaveTheTrackOrBreakTheRules)
{
    const struct {
        Bytes events;
        const char* what;
    } cases[] = {
        {{0x00, 0x3C, 0x64}, "running status with no status before it"},
        {{0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x64}, "running status after a meta event"},
        {{0x00, 0x90, 0xBC, 0x64}, "note number above 127"},
        {{0x00, 0x90, 0x3C, 0xE4}, "velocity above 127"},
        {{0x00, 0xC0, 0x80}, "program above 127"},
        {{0x00, 0xF3, 0x01}, "a system common byte"},
        {{0x00, 0xF8}, "a real-time byte"},
        {{0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}, "a five-byte delta time"},
        {{0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}, "a meta event longer than the track"},
        {{0x00, 0xF0, 0x40, 0x01}, "a system exclusive longer than the track"},
        {{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}, "a two-byte tempo"},
        {{0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}, "tempo zero"},
        {{0x00, 0xFF, 0xA0, 0x00}, "a meta type above 127"},
        {{0x00, 0xFF, 0x2F, 0x01, 0x00}, "an end of track with a body"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(Sound(TuneWith(c.events))) << c.what;
}

TEST(MidiCheckTest, ATrackMustCloseWithItsEndOfTrackAndNothingAfterIt)
{
    Bytes file = Header(0, 1, 96);
    Append(file, Track(NOTE));
    EXPECT_FALSE(Sound(file)) << "no end of track";

    Bytes late = NOTE;
    Append(late, END_OF_TRACK);
    Append(late, NOTE);
    Bytes file2 = Header(0, 1, 96);
    Append(file2, Track(late));
    EXPECT_FALSE(Sound(file2)) << "events after the end of track";
}

TEST(MidiCheckTest, RefusesGarbageTrackBytesOfTheGamesTune)
{
    const Bytes tune = ReadFile("media/music0.mid");
    // A fixed pseudo-random fill of everything after the first track's chunk header.
    Bytes garbage = tune;
    std::uint32_t state = 12345;
    for (std::size_t i = 22; i < garbage.size(); ++i) {
        state = state * 1103515245u + 12345u;
        garbage[i] = static_cast<unsigned char>(state >> 16);
    }
    EXPECT_FALSE(Sound(garbage));
}

TEST(MidiCheckTest, RefusesMissingUnreadableAndOversizedFiles)
{
    EXPECT_FALSE(MidiFileIsSound("media/no-such-tune.mid"));
    EXPECT_FALSE(MidiFileIsSound("media"));
    EXPECT_FALSE(MidiDataIsSound(nullptr, 100));

    // A sound tune padded past the limit: refused without reading it whole.
    char path[] = "/tmp/emberwing-midi-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    Bytes big = TuneWith(NOTE);
    const Bytes sound = big;
    big.resize(MIDI_MOST_BYTES + 1);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(big.data()), static_cast<std::streamsize>(big.size()));
    EXPECT_FALSE(MidiFileIsSound(path));
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(sound.data()),
               static_cast<std::streamsize>(sound.size()));
    EXPECT_TRUE(MidiFileIsSound(path));
    std::remove(path);
}
