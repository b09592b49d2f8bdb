#pragma once

#include <cstdint>

// Widens 16-bit pixels (red in the top five bits, blue in the bottom five) to 32-bit ones
// with red in bits 16 to 23 and blue in bits 0 to 7, to the same 8-bit levels as the
// library's own conversion for a 24-bit display: the game looks the same either way.
void WidenPixels(const uint16_t* from, uint32_t* to, int pixels);
