#include "game/cTitleMenu.h"

#include "game/Controls.h"

namespace {
const int ENTRY_COUNT = 2;
const int KEY_REPEAT_FRAMES = 15; // a held arrow moves the cursor once every 16 frames
} // namespace

bool cTitleMenu::WantsToLeave(const Controls& controls) const
{
    return controls.escape || controls.enter;
}

void cTitleMenu::AfterFrame(const Controls& controls)
{
    ++frame_counter;
    if (frame_counter <= next_key_frame)
        return;
    if (controls.down) {
        selection = (selection + 1) % ENTRY_COUNT;
        next_key_frame = frame_counter + KEY_REPEAT_FRAMES;
    }
    if (controls.up) {
        selection = (selection + ENTRY_COUNT - 1) % ENTRY_COUNT;
        next_key_frame = frame_counter + KEY_REPEAT_FRAMES;
    }
}

int cTitleMenu::Choice(const Controls& controls) const
{
    return controls.escape ? QUIT : selection;
}
