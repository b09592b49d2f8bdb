#include "media/cMidiTrack.h"

#include <algorithm>
#include <cstdio>

namespace {
void PutVariableLength(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (count > 1)
        out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back((value >> (8 * i)) & 0xFF);
}
} // namespace

void cMidiTrack::Add(int tick, int rank, std::vector<uint8_t> bytes)
{
    events.push_back({tick, rank, static_cast<int>(events.size()), std::move(bytes)});
}

void cMidiTrack::Tempo(int tick, int microseconds_per_quarter)
{
    const uint32_t t = microseconds_per_quarter;
    Add(tick, 1, {0xFF, 0x51, 0x03, uint8_t(t >> 16), uint8_t(t >> 8), uint8_t(t)});
}

void cMidiTrack::Program(int tick, int channel, int program)
{
    Add(tick, 1, {uint8_t(0xC0 | channel), uint8_t(program)});
}

void cMidiTrack::Controller(int tick, int channel, int controller, int value)
{
    Add(tick, 1, {uint8_t(0xB0 | channel), uint8_t(controller), uint8_t(value)});
}

void cMidiTrack::Note(int tick, int length, int channel, int key, int velocity)
{
    Add(tick, 1, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)});
    Add(tick + length, 0, {uint8_t(0x80 | channel), uint8_t(key), 0});
}

void cMidiTrack::End(int tick) { end_tick = tick; }

std::vector<uint8_t> cMidiTrack::Encode() const
{
    std::vector<Event> sorted = events;
    std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return a.order < b.order;
    });
    std::vector<uint8_t> body;
    int now = 0;
    for (const Event& event : sorted) {
        PutVariableLength(body, event.tick - now);
        body.insert(body.end(), event.bytes.begin(), event.bytes.end());
        now = event.tick;
    }
    PutVariableLength(body, std::max(0, end_tick - now));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    std::vector<uint8_t> chunk{'M', 'T', 'r', 'k'};
    PutBigEndian(chunk, static_cast<uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

bool WriteMidiFile(const std::string& path, const std::vector<cMidiTrack>& tracks,
                   int ticks_per_quarter)
{
    std::vector<uint8_t> data{'M', 'T', 'h', 'd'};
    PutBigEndian(data, 6, 4);
    PutBigEndian(data, 1, 2);
    PutBigEndian(data, static_cast<uint32_t>(tracks.size()), 2);
    PutBigEndian(data, static_cast<uint32_t>(ticks_per_quarter), 2);
    for (const cMidiTrack& track : tracks) {
        std::vector<uint8_t> chunk = track.Encode();
        data.insert(data.end(), chunk.begin(), chunk.end());
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && written;
}
