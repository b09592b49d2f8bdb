#pragma once

// The random numbers of the play phase: the throws' sideways speeds and the sparks. Replays
// need the same numbers from the same seed on every system, so the game carries its own
// generator rather than the C runtime's, whose rand differs between systems. It gives the
// sequence that GNU libc's srand and rand give, so recordings made before it replay as they
// were played.

// Starts the sequence afresh from the seed.
void SeedPlayRandom(unsigned seed);

// The next number of the sequence, from 0 to 2^31 - 1.
int PlayRandom();
