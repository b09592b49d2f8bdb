#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One track of a standard MIDI file, built from events at absolute ticks and written with
// delta times. Events at the same tick keep the order in which they were added, except that
// note-offs come before note-ons so a repeated key is released before it is struck again.
class cMidiTrack {
public:
    void Tempo(int tick, int microseconds_per_quarter);
    void Program(int tick, int channel, int program);
    void Controller(int tick, int channel, int controller, int value);
    void Note(int tick, int length, int channel, int key, int velocity);
    // Sets where the track ends; later than every event, or the events run past it.
    void End(int tick);

    // The track chunk, "MTrk" header included.
    std::vector<uint8_t> Encode() const;

private:
    struct Event {
        int tick;
        int rank; // at one tick: 0 for note-offs, 1 for everything else
        int order;
        std::vector<uint8_t> bytes;
    };
    void Add(int tick, int rank, std::vector<uint8_t> bytes);

    std::vector<Event> events;
    int end_tick = 0;
};

// Writes a format 1 file of the tracks; returns false when the file cannot be written.
bool WriteMidiFile(const std::string& path, const std::vector<cMidiTrack>& tracks,
                   int ticks_per_quarter);
