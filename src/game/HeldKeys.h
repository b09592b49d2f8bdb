#pragma once

// Opening a video mode makes a new window, or on Windows a new full-screen mode: the library
// sees the keyboard focus go and releases every key, so a key held through a mode switch would
// do nothing until pressed again. These carry the keys still down on the keyboard across the
// switch. Where the system cannot tell which keys are down (the headless tests) they do
// nothing.

// Just before a switch: notes the keys held now. The key that asked for the switch is carried
// too, so that it reads as held until let go rather than as pressed again: the library may
// see it go down again as the new window takes the focus.
void NoteHeldKeys();

// Once a frame, before the keys are read: for a short while after a switch, marks held again
// each noted key that the keyboard reports still down; a key so marked is let go once the
// keyboard reports it up.
void CarryHeldKeys();
