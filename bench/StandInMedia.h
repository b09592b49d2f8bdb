#pragma once

#include <string>

// The drawing benchmarks need the game's pictures. When the working directory has none,
// stand-ins of the sizes the game uses (opaque ground tiles, storeys and round stencils with
// transparent margins) are written to a fresh temporary directory, which becomes the
// working directory. Returns that directory, or "" when the game's own media are used.
std::string UseMediaOrStandIns();

// Removes the stand-ins written by UseMediaOrStandIns; "" does nothing.
void RemoveStandIns(const std::string& directory);
