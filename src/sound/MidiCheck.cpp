#include "sound/MidiCheck.h"

#include <allegro.h>

#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

namespace {
const std::size_t HEADER_BYTES = 14; // "MThd", length 6, format, tracks, division
const std::size_t CHUNK_HEAD_BYTES = 8;
const std::uint32_t HEADER_LENGTH = 6;
const int MOST_LENGTH_BYTES = 4; // a variable-length number holds at most 28 bits

const int META = 0xFF;
const int SYSEX = 0xF0;
const int SYSEX_CONTINUED = 0xF7;
const int END_OF_TRACK = 0x2F;
const int TEMPO = 0x51;
const std::uint32_t TEMPO_BYTES = 3;

std::uint32_t Big32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

int Big16(const unsigned char* p) { return p[0] << 8 | p[1]; }

// Reads events from a track's bytes, refusing to step outside them.
class TrackReader {
public:
    TrackReader(const unsigned char* data, std::size_t size) : data(data), size(size) {}

    bool AtEnd() const { return pos >= size; }

    bool Byte(int* value)
    {
        if (pos >= size)
            return false;
        *value = data[pos++];
        return true;
    }

    bool Number(std::uint32_t* value)
    {
        *value = 0;
        for (int i = 0; i < MOST_LENGTH_BYTES; ++i) {
            int byte;
            if (!Byte(&byte))
                return false;
            *value = *value << 7 | (byte & 0x7F);
            if (!(byte & 0x80))
                return true;
        }
        return false;
    }

    bool Skip(std::uint32_t count)
    {
        if (count > size - pos)
            return false;
        pos += count;
        return true;
    }

    const unsigned char* Here() const { return data + pos; }

private:
    const unsigned char* data;
    std::size_t size;
    std::size_t pos = 0;
};

// Channel messages take one data byte for program change and channel pressure, two otherwise.
int DataBytesOf(int status)
{
    const int kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

bool MetaIsSound(TrackReader& track, bool* ended)
{
    int type;
    std::uint32_t length;
    if (!track.Byte(&type) || type & 0x80 || !track.Number(&length))
        return false;
    const unsigned char* body = track.Here();
    if (!track.Skip(length))
        return false;
    if (type == END_OF_TRACK) {
        *ended = true;
        return length == 0;
    }
    // The player divides by the tempo and reads exactly three bytes of it.
    if (type == TEMPO)
        return length == TEMPO_BYTES && (body[0] | body[1] | body[2]) != 0;
    return true;
}

bool TrackIsSound(const unsigned char* data, std::size_t size)
{
    TrackReader track(data, size);
    int running_status = 0; // none: a data byte cannot start an event
    bool ended = false;
    while (!ended) {
        std::uint32_t delta;
        int first;
        if (!track.Number(&delta) || !track.Byte(&first))
            return false;
        int status = first;
        int data_bytes_left = 0;
        if (first < 0x80) {
            if (!running_status)
                return false;
            status = running_status;
            data_bytes_left = DataBytesOf(status) - 1; // first was the first data byte
        } else if (first < SYSEX) {
            running_status = first;
            data_bytes_left = DataBytesOf(status);
        } else if (first == SYSEX || first == SYSEX_CONTINUED) {
            running_status = 0;
            std::uint32_t length;
            if (!track.Number(&length) || !track.Skip(length))
                return false;
        } else if (first == META) {
            running_status = 0;
            if (!MetaIsSound(track, &ended))
                return false;
        } else {
            return false; // system common and real-time bytes do not belong in a file
        }
        // Note and controller numbers index tables of 128 inside the player.
        for (; data_bytes_left > 0; --data_bytes_left) {
            int byte;
            if (!track.Byte(&byte) || byte & 0x80)
                return false;
        }
    }
    return track.AtEnd();
}
} // namespace

bool MidiDataIsSound(const unsigned char* data, std::size_t size)
{
    if (!data || size < HEADER_BYTES || size > MIDI_MOST_BYTES)
        return false;
    const int format = Big16(data + 8);
    const int tracks = Big16(data + 10);
    const int division = Big16(data + 12);
    // Time-code divisions (top bit set) and zero would give the player no beat length.
    if (std::string_view(reinterpret_cast<const char*>(data), 4) != "MThd" ||
        Big32(data + 4) != HEADER_LENGTH || (format != 0 && format != 1) || tracks < 1 ||
        tracks > MIDI_TRACKS || division == 0 || division & 0x8000)
        return false;

    std::size_t pos = HEADER_BYTES;
    for (int t = 0; t < tracks; ++t) {
        if (size - pos < CHUNK_HEAD_BYTES ||
            std::string_view(reinterpret_cast<const char*>(data + pos), 4) != "MTrk")
            return false;
        const std::uint32_t length = Big32(data + pos + 4);
        pos += CHUNK_HEAD_BYTES;
        if (length > size - pos || !TrackIsSound(data + pos, length))
            return false;
        pos += length;
    }
    return true;
}

bool MidiFileIsSound(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    // One byte more than allowed, to tell a file at the limit from a larger one.
    std::vector<unsigned char> data(MIDI_MOST_BYTES + 1);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (file.bad())
        return false;
    return MidiDataIsSound(data.data(), static_cast<std::size_t>(file.gcount()));
}
