#include "media/Families.h"
#include "media/cMidiTrack.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {
const int TICKS_PER_QUARTER = 480;
const int EIGHTH = TICKS_PER_QUARTER / 2;
const int BAR = 4 * TICKS_PER_QUARTER;
const int BEATS_PER_MINUTE = 150;
// The game starts the tune at beat 8 and loops back there, so the intro is two bars that are
// never heard and the last bar must lead back into the first bar after them.
const int INTRO_BARS = 2;
const int GAP = 24; // ticks of silence after each note, so repeated notes are heard apart

const int LEAD = 0, BASS = 1, PAD = 2, DRUMS = 9;          // channels; 9 is General MIDI's drum kit
const int SQUARE_LEAD = 80, SYNTH_BASS = 38, STRINGS = 48; // General MIDI programs, from 0
const int VOLUME = 7;                                      // controller number
const int KICK = 36, SNARE = 38, CLOSED_HAT = 42, OPEN_HAT = 46, CRASH = 49;

// Key number of a name such as "A4" or "G#5"; middle C is C4, 60.
int Key(const std::string& name)
{
    static const int semitones[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    int key = semitones[name[0] - 'A'];
    size_t at = 1;
    if (name[at] == '#') {
        ++key;
        ++at;
    }
    return key + 12 * (std::atoi(name.c_str() + at) + 1);
}

struct Section {
    const char* chords; // one chord root and quality a bar: "A-" minor, "F" major
    const char* melody; // note and length in eighths, "r" a rest; eight eighths a bar
};

// Verse, the bridge and the quiet part, all in A minor. Each line of a melody is one bar.
const Section VERSE{"A- F C G A- F G E", "E5 2 A5 2 G5 1 E5 1 C5 2 "
                                         "D5 1 C5 1 A4 2 C5 2 F5 2 "
                                         "E5 3 D5 1 C5 2 G4 2 "
                                         "B4 2 D5 2 G5 4 "
                                         "A5 2 G5 1 A5 1 E5 2 C5 2 "
                                         "F5 2 E5 1 F5 1 A5 2 C6 2 "
                                         "B5 2 A5 1 G5 1 D5 2 B4 2 "
                                         "B4 2 G#4 2 E4 2 r 2"};
const Section BRIDGE{"F G A- A- F G E E", "A4 2 C5 2 F5 3 E5 1 "
                                          "D5 2 B4 2 G4 2 B4 2 "
                                          "C5 2 E5 2 A5 2 G5 1 F5 1 "
                                          "E5 6 r 2 "
                                          "F5 2 E5 1 D5 1 C5 2 A4 2 "
                                          "B4 2 C5 1 D5 1 G5 4 "
                                          "G#5 4 D5 2 E5 2 "
                                          "B4 2 D5 2 E5 2 G#5 2"};
const Section QUIET{"D- A- D- E D- A- F E", "F5 4 E5 2 D5 2 "
                                            "C5 4 E5 4 "
                                            "D5 2 F5 2 A5 4 "
                                            "G#5 6 r 2 "
                                            "F5 4 A5 2 F5 2 "
                                            "E5 4 C5 2 A4 2 "
                                            "C5 2 F5 2 A5 2 C6 2 "
                                            "B5 4 G#5 2 E5 2"};

struct Tracks {
    cMidiTrack lead, bass, pad, drums;
};

enum class Groove { INTRO, PLAIN, DRIVING, QUIET };

void PlayDrumBar(cMidiTrack& drums, int start, Groove groove, bool first, bool last)
{
    if (first)
        drums.Note(start, EIGHTH, DRUMS, CRASH, 100);
    for (int eighth = 0; eighth < 8; ++eighth) {
        int tick = start + eighth * EIGHTH;
        bool quiet = groove == Groove::QUIET;
        if (eighth == 0 || (eighth == 4 && !quiet) || (eighth == 5 && groove == Groove::DRIVING))
            drums.Note(tick, EIGHTH, DRUMS, KICK, 112);
        if ((eighth == 2 || eighth == 6) && groove != Groove::INTRO)
            drums.Note(tick, EIGHTH, DRUMS, SNARE, quiet ? 70 : 104);
        if (!quiet || eighth % 2 == 0)
            drums.Note(tick, EIGHTH / 2, DRUMS, eighth == 7 ? OPEN_HAT : CLOSED_HAT,
                       eighth % 2 ? 64 : 84);
        if (groove == Groove::DRIVING)
            drums.Note(tick + EIGHTH / 2, EIGHTH / 2, DRUMS, CLOSED_HAT, 52);
    }
    // A snare run in the last beat turns each section over into the next.
    if (last)
        for (int i = 0; i < 4; ++i)
            drums.Note(start + 6 * EIGHTH + i * EIGHTH / 2, EIGHTH / 2, DRUMS, SNARE, 80 + 8 * i);
}

void PlayHarmonyBar(Tracks& tracks, int start, const std::string& chord, Groove groove)
{
    static const char* const roots[7] = {"A1", "B1", "C2", "D2", "E2", "F2", "G2"};
    const int root = Key(roots[chord[0] - 'A']);
    const int third = chord.size() > 1 && chord[1] == '-' ? 3 : 4;
    // The bass pumps eighths on the root, jumping the octave on the off-beats.
    for (int eighth = 0; eighth < 8; ++eighth) {
        int key = root + 12 + (eighth % 2 ? 12 : 0);
        if (groove == Groove::QUIET && eighth % 2)
            continue;
        tracks.bass.Note(start + eighth * EIGHTH, EIGHTH - GAP, BASS, key, eighth % 2 ? 80 : 100);
    }
    if (groove == Groove::INTRO)
        return;
    const int chord_root = root + 36;
    for (int interval : {0, third, 7})
        tracks.pad.Note(start, BAR - GAP, PAD, chord_root + interval, 56);
}

// Plays the melody from start; returns the tick after its last note.
int PlayMelody(cMidiTrack& lead, int start, const char* melody, int transpose)
{
    std::istringstream words(melody);
    std::string note;
    int length = 0;
    int tick = start;
    while (words >> note >> length) {
        if (note != "r")
            lead.Note(tick, length * EIGHTH - GAP, LEAD, Key(note) + transpose, 100);
        tick += length * EIGHTH;
    }
    return tick;
}

int PlaySection(Tracks& tracks, int start, const Section& section, Groove groove, int transpose)
{
    std::istringstream chords(section.chords);
    std::string chord;
    std::vector<std::string> bars;
    while (chords >> chord)
        bars.push_back(chord);
    for (size_t bar = 0; bar < bars.size(); ++bar) {
        int tick = start + static_cast<int>(bar) * BAR;
        PlayHarmonyBar(tracks, tick, bars[bar], groove);
        PlayDrumBar(tracks.drums, tick, groove, bar == 0, bar + 1 == bars.size());
    }
    int end = PlayMelody(tracks.lead, start, section.melody, transpose);
    if (end != start + static_cast<int>(bars.size()) * BAR) {
        std::fprintf(stderr, "media: a melody does not fill its bars\n");
        std::exit(1);
    }
    return end;
}
} // namespace

void WriteTune(const std::string& folder)
{
    Tracks tracks;
    cMidiTrack conductor;
    conductor.Tempo(0, 60000000 / BEATS_PER_MINUTE);
    // Each track sets up its own channel before its first note.
    tracks.lead.Program(0, LEAD, SQUARE_LEAD);
    tracks.lead.Controller(0, LEAD, VOLUME, 96);
    tracks.bass.Program(0, BASS, SYNTH_BASS);
    tracks.bass.Controller(0, BASS, VOLUME, 112);
    tracks.pad.Program(0, PAD, STRINGS);
    tracks.pad.Controller(0, PAD, VOLUME, 72);
    tracks.drums.Controller(0, DRUMS, VOLUME, 110);

    int tick = 0;
    for (int bar = 0; bar < INTRO_BARS; ++bar, tick += BAR) {
        PlayHarmonyBar(tracks, tick, bar == 0 ? "A-" : "E", Groove::INTRO);
        PlayDrumBar(tracks.drums, tick, Groove::INTRO, false, bar + 1 == INTRO_BARS);
    }
    // From here on everything loops: the last bar's E major falls back into the first A minor.
    tick = PlaySection(tracks, tick, VERSE, Groove::PLAIN, 0);
    tick = PlaySection(tracks, tick, VERSE, Groove::DRIVING, -12);
    tick = PlaySection(tracks, tick, BRIDGE, Groove::DRIVING, 0);
    tick = PlaySection(tracks, tick, QUIET, Groove::QUIET, 0);
    tick = PlaySection(tracks, tick, VERSE, Groove::DRIVING, 0);

    std::vector<cMidiTrack> all{conductor, tracks.lead, tracks.bass, tracks.pad, tracks.drums};
    for (cMidiTrack& track : all)
        track.End(tick);
    if (!WriteMidiFile(folder + "/music0.mid", all, TICKS_PER_QUARTER)) {
        std::fprintf(stderr, "media: cannot write %s/music0.mid\n", folder.c_str());
        std::exit(1);
    }
}
