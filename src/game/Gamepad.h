#pragma once

#include "game/Controls.h"

#include <allegro.h>

// A joystick or gamepad, when the library finds one at start. Any stick or D-pad flies and
// moves the menu cursor; the buttons are numbered as Linux numbers a common pad's: A (0)
// throws and confirms in the menu, B (1) blasts, Y (3) switches the play area's width and
// Start (7) pauses. The pad adds to the keyboard: either can press a control.

// Looks for a pad and notes where each axis rests. Silent when there is none.
void StartGamepad();

// Polls the first pad, if there is one, and presses the controls it holds.
void AddGamepad(Controls* controls);

// What a pad's state presses, given where each of its axes rested at start. Axes that
// rest away from their centre, such as analogue triggers, never count as directions.
Controls GamepadControls(const JOYSTICK_INFO& pad,
                         const int rest[MAX_JOYSTICK_STICKS][MAX_JOYSTICK_AXIS]);
