#include "game/Hud.h"

#include "graphics/cFX.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"

#include <cstdio>
#include <cstdlib>

namespace {
const int SIGN_X = 2, SIGN_Y = 2;
const int TEXT_X = 6, TEXT_Y = 10;
const int BAR_LEFT = 2, BAR_TOP = 30, BAR_BOTTOM = 50;
const int BAR_PIXELS_PER_ENERGY = 2;
// Blue runs 255 down to 128 and back over 255 frames.
const int PULSE_PERIOD = 255;
const int PULSE_MIDDLE = 127;
const int PULSE_FLOOR = 128;

const int PANEL_HALF_WIDTH = 120, PANEL_HALF_HEIGHT = 40;
const int PANEL_LIGHT = 80; // of 256: the frame stays faintly visible under the box
const int PANEL_BORDER = 2; // pixels
const int PANEL_BLUE = 255; // the energy bar's brightest blue
const int PANEL_TEXT_SCALE = 3;
} // namespace

void FormatPopulation(int population, char* text)
{
    // At most 12 characters of words, 11 of number, a space and the terminator.
    std::snprintf(text, POPULATION_TEXT_SIZE, "Population: %7d ", population);
}

void DrawHud(cImage* sign, int population, int energy, int frame_counter)
{
    char text[POPULATION_TEXT_SIZE];
    FormatPopulation(population, text);
    sign->Draw(SIGN_X, SIGN_Y);
    cGraphics::DrawText(TEXT_X, TEXT_Y, 255, 0, 0, text);
    const int blue = std::abs(frame_counter % PULSE_PERIOD - PULSE_MIDDLE) + PULSE_FLOOR;
    cFX::DrawRectangle(BAR_LEFT, BAR_TOP, BAR_PIXELS_PER_ENERGY * energy + BAR_LEFT, BAR_BOTTOM, 0,
                       0, blue);
}

void DrawPausePanel()
{
    const int x = cGraphics::SCR_WIDTH / 2, y = cGraphics::SCR_HEIGHT / 2;
    const int left = x - PANEL_HALF_WIDTH, right = x + PANEL_HALF_WIDTH - 1;
    const int top = y - PANEL_HALF_HEIGHT, bottom = y + PANEL_HALF_HEIGHT - 1;
    cFX::ShadeRectangle(left, top, right, bottom, PANEL_LIGHT);
    for (int i = 0; i < PANEL_BORDER; ++i)
        cFX::DrawOutline(left + i, top + i, right - i, bottom - i, 0, 0, PANEL_BLUE);
    cFX::DrawTextCentred(x, y, PANEL_TEXT_SCALE, 255, 0, 0, "Paused");
}
