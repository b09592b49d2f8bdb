#pragma once

// Opening a video mode recreates the window: the library sees the keyboard focus go and
// releases every key, so a key held through a mode switch would do nothing until pressed
// again. These carry the keys still down on the keyboard across the switch. Without an X11
// display (the headless tests, another system) they do nothing.

// Just before a switch: notes the keys held now, except `except`, the key that asked for the
// switch, which acts once per press as before.
void NoteHeldKeys(int except);

// Once a frame, before the keys are read: for a short while after a switch, marks held again
// each noted key that the X server reports still down, and lets go of one it reports up.
void CarryHeldKeys();
