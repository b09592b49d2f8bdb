#pragma once

#include <allegro.h>

// The ground cell every tile covers; rows are staggered by 32 pixels, so textures that must
// join across tiles repeat every 32 pixels across and every 96 down.
const int TILE_WIDTH = 128;
const int TILE_HEIGHT = 96;
const int TEXTURE_PERIOD_X = 32;

// Paving slabs over the whole cell, shared by the building plots and the rubble.
void PaintPavement(BITMAP* tile);
