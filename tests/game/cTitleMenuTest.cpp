#include "game/cTitleMenu.h"

#include "game/Gamepad.h"
#include "support/Scripted.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {
const int PLAY = cTitleMenu::PLAY, QUIT = cTitleMenu::QUIT;
const Control UP = &Controls::up, DOWN = &Controls::down;

// AfterFrame is called as the title loop calls it: after each shown frame.
TEST(TitleMenuTest, AHeldArrowWrapsAroundInItsFirstFrameAndThenEverySixteenth)
{
    cTitleMenu menu;
    // Down is held for 48 frames, then Up: the cursor moves in frames 1, 17, 33, 49 and 65,
    // down from Quit in 17 and up from Play in 65.
    for (int frame = 1; frame <= 80; ++frame) {
        menu.AfterFrame(Held({frame > 48 ? UP : DOWN}));
        EXPECT_EQ((frame - 1) / 16 % 2 ? PLAY : QUIT, menu.selection) << "frame " << frame;
    }
}

// The one place the keyboard itself is read: Alt+Enter is the window's, not a choice.
TEST(TitleMenuTest, EnterChoosesTheSelectedEntryEscapeAlwaysQuitsAndAltEnterIsTheWindows)
{
    cTitleMenu menu;
    key[KEY_ENTER] = key[KEY_ALT] = 1;
    const Controls alt_enter = ReadKeyboard();
    key[KEY_ALT] = 0;
    const Controls enter = ReadKeyboard(), escape = Held({&Controls::escape});
    key[KEY_ENTER] = 0;
    EXPECT_EQ(
        (Ints{false, false, true, true, true, false}),
        (Ints{menu.WantsToLeave(Controls()), menu.WantsToLeave(alt_enter), alt_enter.window_toggle,
              menu.WantsToLeave(enter), menu.WantsToLeave(escape), enter.window_toggle}));
    EXPECT_EQ((Ints{PLAY, QUIT, QUIT}),
              (Ints{menu.Choice(enter), menu.Choice(escape),
                    menu.Choice(Held({&Controls::enter, &Controls::escape}))}));
    menu.selection = QUIT;
    EXPECT_EQ(QUIT, menu.Choice(enter));
}

// A pad as Linux reports a common one: the left stick, the triggers resting at one end of
// their travel, the D-pad as a third stick, and eight buttons: A, B, X, Y, ..., Start.
TEST(GamepadTest, SticksFlyBeyondTheDeadZoneOnlyAndButtonsMapToTheirControls)
{
    int rest[MAX_JOYSTICK_STICKS][MAX_JOYSTICK_AXIS]{};
    rest[1][0] = -128; // left trigger, released
    struct Case {
        int stick_x, stick_y, trigger, pad_y, buttons, num_buttons;
        Controls held;
    };
    const Case cases[] = {
        {0, 0, -128, 0, 0, 8, {}},    // a trigger at rest is not a direction
        {40, -40, -128, 0, 0, 8, {}}, // nor is a stick that leans a little at rest
        {-100, 0, -128, 127, 0, 8, Held({DOWN, &Controls::left})}, // the stick left, the D-pad down
        {0, 0, 127, 0, 0, 8, {}},                                  // the trigger pulled all the way
        {0, 0, -128, 0, 0x01, 8, Held({&Controls::fire, &Controls::enter})}, // A
        {0, 0, -128, 0, 0x8A, 8,
         Held({&Controls::blast, &Controls::switch_mode, &Controls::pause})}, // B, Y and Start
        {0, 0, -128, 0, 0x80, 4, {}}, // a small pad has no Start: stale data is ignored
    };
    for (const Case& c : cases) {
        JOYSTICK_INFO pad{};
        pad.num_sticks = 3;
        pad.num_buttons = c.num_buttons;
        for (int s = 0; s < 3; ++s)
            pad.stick[s].num_axis = 2;
        pad.stick[0].axis[0].pos = c.stick_x;
        pad.stick[0].axis[1].pos = c.stick_y;
        pad.stick[1].axis[0].pos = c.trigger;
        pad.stick[2].axis[1].pos = c.pad_y;
        for (int b = 0; b < 8; ++b)
            pad.button[b].b = c.buttons >> b & 1;
        const Controls got = GamepadControls(pad, rest);
        EXPECT_EQ(0, std::memcmp(&c.held, &got, sizeof got)) << "case " << &c - cases;
    }
}
} // namespace
