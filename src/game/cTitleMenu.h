#pragma once

// The title menu's state from frame to frame, apart from any drawing: which entry is
// selected and when an arrow key may move the cursor again. The keys are read from the
// library's key[] array, so a test can set the keys it wants and step frames.
class cTitleMenu {
public:
    static constexpr int PLAY = 0;
    static constexpr int QUIT = 1;

    int selection = PLAY;
    int frame_counter = 0;  // presented title frames
    int next_key_frame = 0; // arrows act only in a frame whose counter is above this

    // Checked at the top of each frame, before drawing: Escape, Enter or the close button.
    bool WantsToLeave() const;

    // After each presented frame: counts it and lets the arrows move the cursor.
    void AfterFrame();

    // The entry chosen on leaving: quit whenever Escape (or the close button) is down.
    int Choice() const;
};
