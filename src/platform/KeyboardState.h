#pragma once

#include <allegro.h>

// Which of the library's scancodes are down on the keyboard now, as the system tells it
// rather than as the library has recorded it: the library lets go of every key when its
// window loses the keyboard, a new video mode included. False, with nothing marked, where the
// system cannot tell (no display, as in the headless tests).
bool ReadKeyboardState(bool down[KEY_MAX]);
