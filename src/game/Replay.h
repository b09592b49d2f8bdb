#pragma once

#include "game/Controls.h"

#include <cstdio>
#include <functional>
#include <vector>

class cPlayPhase;

// A played game as data: the seed of the random numbers and the controls of every frame. The
// play phase draws all its randomness from PlayRandom, so the same seed and records give the
// same city, population and events on every run.
//
// As text: the seed on the first line; then one line per run of frames with equal controls,
// "count letters", the letters those held (- for none): U D L R up, down, left, right; T throw;
// B blast; F mode switch; E escape; N enter; P pause; M mute; W window toggle; X focus lost.
// A last line "end population N" tells what the recorded game showed at its end.
struct Recording {
    unsigned seed = 0;
    std::vector<Controls> frames;
    int end_population = -1; // -1 when not recorded
};

// False when the file cannot be read or a line is not of the form above.
bool ReadRecording(const char* path, Recording& recording);

// Writes a recording while the game plays, a line whenever the controls change, so that the
// file is useful even after a crash. With a null path it records nothing.
class cRecorder {
public:
    cRecorder(const char* path, unsigned seed);
    ~cRecorder(); // writes the last run, without the end line, if Close was not called
    cRecorder(const cRecorder&) = delete;
    cRecorder& operator=(const cRecorder&) = delete;

    void Add(const Controls& controls);
    void Close(int population);

private:
    std::FILE* file;
    unsigned last = 0; // the controls of the current run, as bits
    long run = 0;      // frames in it

    void WriteRun();
};

// Seeds the random numbers and steps the play phase with every record, until the records
// end or a frame asks to stop; after_frame, when given, sees the play phase after each frame.
// Returns the frames stepped, the stopping one included.
long Replay(const Recording& recording, cPlayPhase& play,
            const std::function<void(const cPlayPhase&)>& after_frame = nullptr);
