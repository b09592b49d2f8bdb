#pragma once

#include "city/cCity.h"
#include "game/Controls.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class cImage;

// Helpers for tests that script the play phase's frames.

using Ints = std::vector<int>;

const int GRASS = cCity::GRASS;

// Every cell of the city set to one code.
void FillCity(cCity& city, int code);

// The tile under the point (x, y) set to one code.
void BuildAt(cCity& city, int x, int y, int code);

// Gives an image a solid picture of one raw 16-bit value, replacing whatever it held, so
// that a test can tell its pixels apart in the frame (0xF81F makes it wholly transparent).
void Paint(cImage* image, int width, int height, uint16_t colour);

// One of a frame's controls, e.g. &Controls::fire.
using Control = bool Controls::*;

// A frame's controls with only the given ones held.
Controls Held(std::initializer_list<Control> held);

// The mode switch without a display, for cPlayPhase's Screen: a new black memory buffer of
// the mode's play area.
void MemorySetMode(int m);
