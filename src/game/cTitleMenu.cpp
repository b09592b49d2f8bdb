#include "game/cTitleMenu.h"

#include "game/CloseButton.h"
#include "game/QuitSignals.h"

#include <allegro.h>

namespace {
const int ENTRY_COUNT = 2;
const int KEY_REPEAT_FRAMES = 15; // a held arrow moves the cursor once every 16 frames

bool QuitAsked() { return key[KEY_ESC] || CloseButtonPressed() || QuitSignal(); }
} // namespace

bool cTitleMenu::WantsToLeave() const { return QuitAsked() || key[KEY_ENTER]; }

void cTitleMenu::AfterFrame()
{
    ++frame_counter;
    if (frame_counter <= next_key_frame)
        return;
    if (key[KEY_DOWN]) {
        selection = (selection + 1) % ENTRY_COUNT;
        next_key_frame = frame_counter + KEY_REPEAT_FRAMES;
    }
    if (key[KEY_UP]) {
        selection = (selection + ENTRY_COUNT - 1) % ENTRY_COUNT;
        next_key_frame = frame_counter + KEY_REPEAT_FRAMES;
    }
}

int cTitleMenu::Choice() const { return QuitAsked() ? QUIT : selection; }
