#include "media/Families.h"
#include "media/Synth.h"

#include <cstdio>
#include <cstdlib>

namespace {
double Seconds(size_t sample) { return static_cast<double>(sample) / SOUND_RATE; }

// 0 at 0, 1 at 1, flat at both ends.
double Smooth(double x) { return x * x * (3 - 2 * x); }

// Rises over attack seconds, then dies away to 1/e every decay seconds.
double Strike(double t, double attack, double decay)
{
    return (t < attack ? t / attack : 1.0) * Exp(-t / decay);
}

// A dull knock: a low tone whose pitch drops from high to low as it dies.
Wave Knock(double seconds, double high, double low, double pitch_fall, double decay)
{
    Wave wave = Silence(seconds);
    double phase = 0;
    for (size_t i = 0; i < wave.size(); ++i) {
        const double t = Seconds(i);
        phase += (low + (high - low) * Exp(-t / pitch_fall)) / SOUND_RATE;
        wave[i] = Sine(phase) * Strike(t, 0.002, decay);
    }
    return wave;
}

// Short ringing ticks of noise at random moments, thinning out and fading over the
// seconds given: bits of debris landing, or the crackle after an explosion.
Wave Debris(double seconds, int count, double low, double high, uint32_t seed)
{
    Wave wave = Silence(seconds + 0.06);
    cNoise random(seed);
    for (int n = 0; n < count; ++n) {
        const double r = random.Between(0, 1);
        const double at = 0.04 + (seconds - 0.04) * r * r; // most fall early
        const double length = random.Between(0.012, 0.045);
        const double centre = random.Between(low, high);
        const double gain = random.Between(0.35, 1.0) * (1 - at / (seconds + 0.1));
        // Two ringing stages: a knock of stone rather than a tick of hiss.
        cFilter ring(0.4), again(0.4);
        Wave grain = Silence(length);
        for (size_t i = 0; i < grain.size(); ++i) {
            ring.Step(random.Next(), centre);
            again.Step(ring.band, centre);
            grain[i] = again.band * Strike(Seconds(i), 0.0015, length / 3);
        }
        Mix(wave, grain, at, gain);
    }
    return wave;
}

// The swish of a fireball leaving the hand: hiss whose pitch and level swell and fall
// as it sweeps past.
Wave Whoosh()
{
    const double length = 0.3;
    Wave wave = Silence(length);
    cNoise noise(0x5EED01);
    cFilter air(0.6), body(1.2);
    cSmoother soften(3000);
    for (size_t i = 0; i < wave.size(); ++i) {
        const double p = Seconds(i) / length;
        const double swell = Smooth(p < 0.3 ? p / 0.3 : (1 - p) / 0.7);
        const double centre = 350 + 1700 * swell;
        const double n = noise.Next();
        air.Step(n, centre);
        body.Step(n, centre * 0.4);
        wave[i] = swell * soften.Step(air.band + 0.7 * body.band);
    }
    Normalise(wave, 0.85);
    return wave;
}

// A fireball landing: a soft low knock with a brief scuff of dust.
Wave Thud()
{
    Wave wave = Knock(0.22, 170, 55, 0.025, 0.06);
    cNoise noise(0x5EED02);
    cSmoother dust_a(700), dust_b(700);
    for (size_t i = 0; i < wave.size(); ++i)
        wave[i] += 4 * dust_b.Step(dust_a.Step(noise.Next())) * Exp(-Seconds(i) / 0.012);
    Normalise(wave, 0.9);
    SoftEdges(wave, 0.002);
    return wave;
}

// A storey breaking off: a crack, a rumble, the thump of it landing and its pieces
// clattering after.
Wave Crumble()
{
    const double length = 1.1;
    Wave wave = Silence(length);
    cNoise noise(0x5EED03);
    cFilter crack(0.8);
    cSmoother rumble_a(220), rumble_b(220);
    for (size_t i = 0; i < wave.size(); ++i) {
        const double t = Seconds(i);
        const double n = noise.Next();
        crack.Step(n, 1900);
        const double rumble = rumble_b.Step(rumble_a.Step(n));
        wave[i] = 0.8 * crack.band * Exp(-t / 0.02) + 9 * rumble * Strike(t, 0.03, 0.32);
    }
    Mix(wave, Knock(0.3, 110, 45, 0.04, 0.09), 0.26, 0.7);
    Mix(wave, Debris(length - 0.15, 48, 500, 2800, 0x5EED04), 0.08, 0.45);
    wave.resize(static_cast<size_t>(length * SOUND_RATE));
    Normalise(wave, 0.9);
    SoftEdges(wave, 0.004);
    return wave;
}

// The blast striking: a deep boom that rolls off, with crackle in its tail.
Wave Boom()
{
    const double length = 1.4;
    Wave wave = Silence(length);
    const Wave sub = Knock(length, 90, 30, 0.12, 0.3);
    cNoise noise(0x5EED05);
    cFilter roar(1.0);
    cSmoother blunt(2500);
    for (size_t i = 0; i < wave.size(); ++i) {
        const double t = Seconds(i);
        const double n = noise.Next();
        roar.Step(n, 100 + 2000 * Exp(-t / 0.15));
        wave[i] = 0.45 * sub[i] + 2.2 * roar.low * Strike(t, 0.004, 0.35) +
                  0.5 * blunt.Step(n) * Exp(-t / 0.01);
    }
    Mix(wave, Debris(length - 0.3, 36, 500, 1800, 0x5EED06), 0.1, 0.25);
    wave.resize(static_cast<size_t>(length * SOUND_RATE));
    // Driven into a soft limit: the roar comes up towards the attack, as in a real explosion.
    Normalise(wave, 1.0);
    for (double& sample : wave)
        sample = 1.6 * sample / (1 + (sample < 0 ? -sample : sample) * 1.6);
    Normalise(wave, 0.92);
    SoftEdges(wave, 0.004);
    return wave;
}

// The blast gathering: a buzzing tone that climbs two octaves and more with a shimmer
// above it, swelling and then gone.
Wave Charge()
{
    const double length = 0.55;
    Wave wave = Silence(length);
    cNoise noise(0x5EED07);
    cFilter shimmer(0.25);
    double phase = 0;
    for (size_t i = 0; i < wave.size(); ++i) {
        const double t = Seconds(i), p = t / length;
        const double pitch = 150 * Exp(1.75 * p);
        phase += pitch / SOUND_RATE;
        const double tone = Sine(phase) + 0.5 * Sine(2.003 * phase) + 0.3 * Sine(3.01 * phase);
        shimmer.Step(noise.Next(), pitch * 4);
        const double swell = Smooth(p < 0.7 ? p / 0.7 : (1 - p) / 0.3);
        const double tremble = 1 + 0.3 * Sine(24 * t);
        wave[i] = swell * tremble * (tone + 0.25 * shimmer.band);
    }
    Normalise(wave, 0.85);
    SoftEdges(wave, 0.004);
    return wave;
}

// Out of energy: a dull click and a smaller clack, like a catch that will not hold.
Wave Click()
{
    Wave wave = Silence(0.12);
    Mix(wave, Knock(0.05, 320, 220, 0.01, 0.008), 0, 1.0);
    Mix(wave, Knock(0.05, 230, 160, 0.01, 0.01), 0.055, 0.6);
    cNoise noise(0x5EED08);
    cSmoother muffle_a(1200), muffle_b(1200);
    for (size_t i = 0; i < wave.size(); ++i) {
        const double t = Seconds(i);
        const double tick = Exp(-t / 0.003) + (t < 0.055 ? 0 : 0.6 * Exp(-(t - 0.055) / 0.003));
        wave[i] = muffle_b.Step(muffle_a.Step(wave[i] + 0.6 * noise.Next() * tick));
    }
    wave.resize(static_cast<size_t>(0.12 * SOUND_RATE));
    Normalise(wave, 0.9);
    SoftEdges(wave, 0.002);
    return wave;
}

void Save(const std::string& folder, const char* name, const Wave& wave)
{
    if (!WriteWave(folder + "/" + name, wave)) {
        std::fprintf(stderr, "media: cannot write %s/%s\n", folder.c_str(), name);
        std::exit(1);
    }
}
} // namespace

void WriteSoundEffects(const std::string& folder)
{
    Save(folder, "throw.wav", Whoosh());
    Save(folder, "bounce.wav", Thud());
    Save(folder, "crumble.wav", Crumble());
    Save(folder, "boom.wav", Boom());
    Save(folder, "charge.wav", Charge());
    Save(folder, "empty.wav", Click());
}
