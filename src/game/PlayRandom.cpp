#include "game/PlayRandom.h"

#include <cstdint>

namespace {
// An additive lagged Fibonacci generator: x[i] = x[i - 31] + x[i - 3] modulo 2^32, each
// number x[i] without its lowest bit.
const int LONG_LAG = 31;
const int SHORT_LAG = 3;
// The first 310 numbers after seeding are passed over, as GNU libc does, to stir the state.
const int STIR_DRAWS = 10 * LONG_LAG;

uint32_t _history[LONG_LAG]; // the last LONG_LAG values, oldest at _oldest
int _oldest = 0;

uint32_t Step()
{
    const uint32_t next = _history[_oldest] + _history[(_oldest + LONG_LAG - SHORT_LAG) % LONG_LAG];
    _history[_oldest] = next;
    _oldest = (_oldest + 1) % LONG_LAG;
    return next;
}
} // namespace

void SeedPlayRandom(unsigned seed)
{
    // The state is filled by the "minimal standard" generator, 16807 x modulo 2^31 - 1, worked
    // without overflow as Schrage's method does, from the seed taken as a signed 32-bit value.
    uint32_t filled[LONG_LAG];
    int32_t word = seed == 0 ? 1 : static_cast<int32_t>(seed);
    filled[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < LONG_LAG; ++i) {
        const int64_t high = word / 127773, low = word % 127773;
        int64_t next = 16807 * low - 2836 * high;
        if (next < 0)
            next += 2147483647;
        word = static_cast<int32_t>(next);
        filled[i] = static_cast<uint32_t>(word);
    }
    // The sum starts three values in: x[31], x[32] and x[33] repeat x[0], x[1] and x[2], and
    // the first sum is x[34].
    for (int i = 0; i < LONG_LAG; ++i)
        _history[i] = filled[(i + SHORT_LAG) % LONG_LAG];
    _oldest = 0;
    for (int i = 0; i < STIR_DRAWS; ++i)
        Step();
}

int PlayRandom() { return static_cast<int>(Step() >> 1); }
