#include "game/Replay.h"

#include "game/PlayRandom.h"
#include "game/cPlayPhase.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {
struct Letter {
    char letter;
    bool Controls::*held;
};
const Letter LETTERS[] = {
    {'U', &Controls::up},          {'D', &Controls::down},   {'L', &Controls::left},
    {'R', &Controls::right},       {'T', &Controls::fire},   {'B', &Controls::blast},
    {'F', &Controls::switch_mode}, {'E', &Controls::escape}, {'N', &Controls::enter},
    {'P', &Controls::pause},       {'M', &Controls::mute},   {'W', &Controls::window_toggle},
    {'X', &Controls::focus_lost},
};
const char NONE = '-';

unsigned BitsOf(const Controls& controls)
{
    unsigned bits = 0, bit = 1;
    for (const Letter& l : LETTERS) {
        if (controls.*l.held)
            bits |= bit;
        bit <<= 1;
    }
    return bits;
}

std::string LettersOf(unsigned bits)
{
    std::string letters;
    unsigned bit = 1;
    for (const Letter& l : LETTERS) {
        if (bits & bit)
            letters += l.letter;
        bit <<= 1;
    }
    return letters.empty() ? std::string(1, NONE) : letters;
}

bool ControlsOf(const std::string& letters, Controls& controls)
{
    controls = Controls();
    if (letters == std::string(1, NONE))
        return true;
    for (char c : letters) {
        const Letter* found = nullptr;
        for (const Letter& l : LETTERS)
            if (l.letter == c)
                found = &l;
        if (!found)
            return false;
        controls.*found->held = true;
    }
    return true;
}
} // namespace

bool ReadRecording(const char* path, Recording& recording)
{
    recording = Recording();
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line))
        return false;
    std::istringstream first(line);
    if (!(first >> recording.seed))
        return false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string word;
        long count;
        if (line.rfind("end population ", 0) == 0) {
            fields >> word >> word >> recording.end_population;
            continue;
        }
        Controls controls;
        if (!(fields >> count >> word) || count <= 0 || !ControlsOf(word, controls))
            return false;
        recording.frames.insert(recording.frames.end(), count, controls);
    }
    return true;
}

// Written as bytes, so that a recording has the same lines on every system; Windows' text
// mode would end each with CR LF.
cRecorder::cRecorder(const char* path, unsigned seed)
    : file(path ? std::fopen(path, "wb") : nullptr)
{
    if (path && !file)
        std::fprintf(stderr, "emberwing: cannot record into %s\n", path);
    if (file)
        std::fprintf(file, "%u\n", seed);
}

cRecorder::~cRecorder()
{
    if (!file)
        return;
    WriteRun();
    std::fclose(file);
}

void cRecorder::Add(const Controls& controls)
{
    const unsigned bits = BitsOf(controls);
    if (run > 0 && bits != last)
        WriteRun();
    last = bits;
    ++run;
}

void cRecorder::Close(int population)
{
    if (!file)
        return;
    WriteRun();
    std::fprintf(file, "end population %d\n", population);
    std::fclose(file);
    file = nullptr;
}

void cRecorder::WriteRun()
{
    if (!file || run == 0)
        return;
    std::fprintf(file, "%ld %s\n", run, LettersOf(last).c_str());
    std::fflush(file);
    run = 0;
}

long Replay(const Recording& recording, cPlayPhase& play,
            const std::function<void(const cPlayPhase&)>& after_frame)
{
    SeedPlayRandom(recording.seed);
    long frames = 0;
    for (const Controls& controls : recording.frames) {
        ++frames;
        const bool going_on = play.Frame(controls);
        if (after_frame)
            after_frame(play);
        if (!going_on)
            break;
    }
    return frames;
}
