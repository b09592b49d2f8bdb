#include "media/Synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {
const double PI = 3.14159265358979323846;

void PutLittle(std::vector<uint8_t>& bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& bytes, const char* tag)
{
    bytes.insert(bytes.end(), tag, tag + 4);
}
} // namespace

double Sine(double turns)
{
    double t = turns - std::floor(turns); // floor is exact
    double sign = 1;
    if (t >= 0.5) {
        t -= 0.5;
        sign = -1;
    }
    if (t > 0.25)
        t = 0.5 - t;
    // Taylor series of sin on 0 to pi/2: the last term kept is below 1e-6.
    const double x = 2 * PI * t, x2 = x * x;
    double term = x, sum = x;
    for (int n = 3; n <= 13; n += 2) {
        term *= -x2 / (n * (n - 1));
        sum += term;
    }
    return sign * sum;
}

double Exp(double x)
{
    // e^x = (e^(x/2^k))^(2^k), the small power by its series; halving is exact.
    double small = x;
    int squarings = 0;
    while (small > 0.5 || small < -0.5) {
        small /= 2;
        ++squarings;
    }
    double term = 1, sum = 1;
    for (int n = 1; n <= 14; ++n) {
        term *= small / n;
        sum += term;
    }
    for (int i = 0; i < squarings; ++i)
        sum *= sum;
    return sum;
}

double cNoise::Next()
{
    // xorshift32
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1;
}

double cNoise::Between(double low, double high) { return low + (high - low) * (Next() + 1) / 2; }

void cFilter::Step(double input, double frequency)
{
    // Stable while the tuning factor stays below 1: centres under a sixth of the rate.
    const double tuning = 2 * Sine(std::min(frequency, SOUND_RATE / 6.0) / (2.0 * SOUND_RATE));
    low += tuning * band;
    high = input - low - damping * band;
    band += tuning * high;
}

cSmoother::cSmoother(double frequency) : weight(1 - Exp(-2 * PI * frequency / SOUND_RATE)) {}

Wave Silence(double seconds) { return Wave(static_cast<size_t>(seconds * SOUND_RATE), 0.0); }

void Mix(Wave& target, const Wave& source, double at_seconds, double gain)
{
    const size_t start = static_cast<size_t>(at_seconds * SOUND_RATE);
    if (target.size() < start + source.size())
        target.resize(start + source.size(), 0.0);
    for (size_t i = 0; i < source.size(); ++i)
        target[start + i] += gain * source[i];
}

void Normalise(Wave& wave, double peak)
{
    double loudest = 0;
    for (double sample : wave)
        loudest = std::max(loudest, std::fabs(sample));
    if (loudest > 0)
        for (double& sample : wave)
            sample *= peak / loudest;
}

void SoftEdges(Wave& wave, double seconds)
{
    const size_t fade = std::min(wave.size() / 2, static_cast<size_t>(seconds * SOUND_RATE));
    for (size_t i = 0; i < fade; ++i) {
        const double weight = static_cast<double>(i) / fade;
        wave[i] *= weight;
        wave[wave.size() - 1 - i] *= weight;
    }
}

bool WriteWave(const std::string& path, const Wave& wave)
{
    const uint32_t data_bytes = static_cast<uint32_t>(wave.size() * 2);
    std::vector<uint8_t> bytes;
    PutTag(bytes, "RIFF");
    PutLittle(bytes, 36 + data_bytes, 4);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    PutLittle(bytes, 16, 4);
    PutLittle(bytes, 1, 2); // PCM
    PutLittle(bytes, 1, 2); // mono
    PutLittle(bytes, SOUND_RATE, 4);
    PutLittle(bytes, SOUND_RATE * 2, 4);
    PutLittle(bytes, 2, 2); // bytes a sample
    PutLittle(bytes, 16, 2);
    PutTag(bytes, "data");
    PutLittle(bytes, data_bytes, 4);
    for (double sample : wave) {
        const double scaled = std::floor(std::clamp(sample, -1.0, 1.0) * 32767 + 0.5);
        PutLittle(bytes, static_cast<uint32_t>(static_cast<int32_t>(scaled)), 2);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
