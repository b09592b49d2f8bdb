#pragma once

#include <allegro.h>

// A ground tile with its lower storeys on it, flattened once into one picture: where the
// storeys cover the tile and each other, drawing it writes each frame pixel once instead of
// once per layer. Storey k, 1 to storeys, has its top-left corner spacing * k pixels above
// the tile's, so the picture's top-left corner lies spacing * storeys pixels above the
// tile's. Pixels that neither picture covers are of the mask colour. The caller owns the new
// picture; null when it cannot be made, as for pictures of two colour depths.
BITMAP* StackStoreys(BITMAP* ground, BITMAP* storey, int storeys, int spacing);
