#include "game/TitleScreen.h"

#include "bitmap/Fractal.h"
#include "game/Controls.h"
#include "game/ShellControls.h"
#include "game/cTitleMenu.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"

#include <cstring>

namespace {
// Laid out for the 800x600 screen of mode 1, whatever the play area.
const int FACE_X = 500, FACE_Y = 200;
const int TITLE_CENTRE_X = 400, TITLE_CENTRE_Y = 90;
const int MENU_CENTRE_X = 400, MENU_CENTRE_Y = 300;
const int CURSOR_X = 280, CURSOR_FIRST_Y = 255, CURSOR_STEP_Y = 70;

// The controls, quietly along the bottom edge: pale gold over a dark shadow, so that they
// read over every colour of the backdrop without drawing the eye from the menu.
const char* const CONTROL_LINES[] = {
    "Arrows fly  Shift throws  Ctrl blasts  F1 wide view  P pause  M sound  Alt+Enter window",
    "Gamepad: stick flies  A throws  B blasts  Y wide view  Start pauses",
};
const int CONTROL_LINES_TOP = 581, CONTROL_LINE_STEP = 10, CHARACTER_WIDTH = 8;

// Written once into the backdrop, which is drawn whole whenever the title is: nothing else on
// the title reaches the bottom edge, and the text costs nothing more.
void WriteControlLines(BITMAP* backdrop)
{
    for (int i = 0; i < 2; ++i) {
        const char* line = CONTROL_LINES[i];
        const int x = TITLE_CENTRE_X - CHARACTER_WIDTH * static_cast<int>(std::strlen(line)) / 2;
        const int y = CONTROL_LINES_TOP + CONTROL_LINE_STEP * i;
        textout_ex(backdrop, font, line, x + 1, y + 1, makecol(24, 12, 0), -1);
        textout_ex(backdrop, font, line, x, y, makecol(232, 200, 128), -1);
    }
}

cImage* MakeBackdrop()
{
    const FractalView view = {1, 1.767, 0.036, 0.003, 0.0025, 100};
    BITMAP* picture = MakeFractal(800, 600, view, 1);
    if (picture)
        WriteControlLines(picture);
    return new cImage(picture);
}
} // namespace

int RunTitleScreen()
{
    cTitleMenu menu;
    cImage* backdrop = MakeBackdrop();
    cImage* face = new cImage("media/faerieface.pcx");
    cImage* title = new cImage("media/title.pcx");
    cImage* entries = new cImage("media/menu.pcx");
    cImage* cursor = new cImage("media/faerie_fire.pcx");

    // The screen changes only when the cursor moves: other frames draw and present nothing.
    // A mode switch leaves a new buffer, which is drawn afresh.
    int shown_selection = -1;
    const BITMAP* shown_buffer = nullptr;
    Controls controls;
    while (!menu.WantsToLeave(controls = SampleControls())) {
        ApplyShellControls(controls);
        if (menu.selection == shown_selection && cGraphics::double_buffer == shown_buffer) {
            cGraphics::WaitForFrame();
            menu.AfterFrame(controls);
            continue;
        }
        backdrop->Draw(0, 0);
        face->Draw(FACE_X, FACE_Y);
        title->DrawCentred(TITLE_CENTRE_X, TITLE_CENTRE_Y);
        entries->DrawCentred(MENU_CENTRE_X, MENU_CENTRE_Y);
        cursor->Draw(CURSOR_X, CURSOR_FIRST_Y + CURSOR_STEP_Y * menu.selection);
        cGraphics::DrawBuffer();
        shown_selection = menu.selection;
        shown_buffer = cGraphics::double_buffer;
        menu.AfterFrame(controls);
    }
    const int choice = menu.Choice(controls);

    delete cursor;
    delete entries;
    delete title;
    delete face;
    delete backdrop;
    return choice;
}
