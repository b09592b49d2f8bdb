#pragma once

struct Controls;

// The title menu's state from frame to frame, apart from any drawing: which entry is
// selected and when an arrow may move the cursor again. Each call reads the frame's controls,
// so a test steps frames with the controls it wants.
class cTitleMenu {
public:
    static constexpr int PLAY = 0;
    static constexpr int QUIT = 1;

    int selection = PLAY;
    int frame_counter = 0;  // title frames so far
    int next_key_frame = 0; // arrows act only in a frame whose counter is above this

    // Checked at the top of each frame, before drawing: Escape (the close button) or Enter.
    bool WantsToLeave(const Controls& controls) const;

    // After each frame: counts it and lets the arrows move the cursor.
    void AfterFrame(const Controls& controls);

    // The entry chosen on leaving: quit whenever Escape is asked for.
    int Choice(const Controls& controls) const;
};
