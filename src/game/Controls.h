#pragma once

// What the player asks of one frame, sampled once at its top: every step of the frame reads
// this record rather than the keyboard, so that the library's input thread cannot change a
// key between two steps, and a recorded sequence of records replays the same game.
struct Controls {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool fire = false;        // throw a fireball
    bool blast = false;       // set off or hold the blast
    bool switch_mode = false; // between the narrow and the wide play area
    bool escape = false;      // Escape, the window's close button or a signal to quit
    bool enter = false;
    bool pause = false;         // held down; the play phase acts on the press
    bool mute = false;          // held down
    bool window_toggle = false; // held down
    bool focus_lost = false;    // the window lost the keyboard since the last sample
};

// The keyboard alone, read from the library's key[] array.
Controls ReadKeyboard();

// The whole record for a frame: the keyboard, the gamepad, the close button and a signal
// to quit as Escape, and the focus loss (taken: reported once).
Controls SampleControls();
