#include "game/FaerieBomb.h"

#include "city/cCity.h"

namespace {
const int STRIKES = 4;
const int FRAMES_BETWEEN_STRIKES = 30;
// One tile apart, so that each point of a square falls on a different tile.
const int STRIKE_STEP_X = 128; // pixels
const int STRIKE_STEP_Y = 96;
} // namespace

bool FaerieBomb(int x, int y, cCity* city, int first)
{
    static int timer = 0;
    if (first)
        timer = 0;
    bool struck = false;
    for (int k = 0; k < STRIKES; ++k) {
        if (timer != FRAMES_BETWEEN_STRIKES * k)
            continue;
        struck = true;
        // The whole square is struck, not only its ring: the centre takes every strike.
        for (int row_y = y - STRIKE_STEP_Y * k; row_y <= y + STRIKE_STEP_Y * k;
             row_y += STRIKE_STEP_Y)
            for (int point_x = x - STRIKE_STEP_X * k; point_x <= x + STRIKE_STEP_X * k;
                 point_x += STRIKE_STEP_X)
                city->LowerBuilding(point_x, row_y);
    }
    ++timer;
    return struck;
}
