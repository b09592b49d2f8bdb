#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Building blocks of the sound effects. Only additions, multiplications and divisions of
// doubles in a fixed order are used (no library sine or exponential, whose last bits differ
// between C libraries), so every machine makes the same samples.

const int SOUND_RATE = 22050; // samples a second, mono

using Wave = std::vector<double>; // samples, about -1 to 1

// Sine of a phase counted in whole turns.
double Sine(double turns);

// e to the power x.
double Exp(double x);

// Repeatable white noise, the same on every machine.
class cNoise {
public:
    explicit cNoise(uint32_t seed) : state(seed ? seed : 1) {}
    double Next(); // -1 to 1
    double Between(double low, double high);

private:
    uint32_t state;
};

// A state-variable filter: low, band and high pass at once, its centre movable per sample.
class cFilter {
public:
    explicit cFilter(double damping) : damping(damping) {} // 2 is gentle, 0.2 rings
    void Step(double input, double frequency);
    double low = 0, band = 0, high = 0;

private:
    double damping;
};

// A one-pole low pass: the body of a noise without its hiss.
class cSmoother {
public:
    explicit cSmoother(double frequency);
    double Step(double input) { return level += weight * (input - level); }

private:
    double weight;
    double level = 0;
};

// Silence of the given length.
Wave Silence(double seconds);

// Adds source into target from the given second on, scaled; the target grows to fit.
void Mix(Wave& target, const Wave& source, double at_seconds, double gain);

// Scales the wave so its loudest sample is at peak.
void Normalise(Wave& wave, double peak);

// Fades both ends over a few samples, so a voice starts and stops without a click.
void SoftEdges(Wave& wave, double seconds);

// Writes a 16-bit mono PCM WAV file; returns false when it cannot.
bool WriteWave(const std::string& path, const Wave& wave);
