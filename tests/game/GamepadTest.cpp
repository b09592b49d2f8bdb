#include "game/Gamepad.h"

#include <gtest/gtest.h>

namespace {
// A pad as Linux reports a common one: the left stick, the triggers resting at one end of
// their travel, the D-pad as a third stick, and eight buttons.
struct PadFixture : ::testing::Test {
    JOYSTICK_INFO pad{};
    int rest[MAX_JOYSTICK_STICKS][MAX_JOYSTICK_AXIS]{};

    PadFixture()
    {
        pad.num_sticks = 3;
        pad.num_buttons = 8;
        for (int s = 0; s < 3; ++s)
            pad.stick[s].num_axis = 2;
        rest[1][0] = -128; // left trigger, released
        pad.stick[1].axis[0].pos = -128;
    }
};

TEST_F(PadFixture, SticksFlyBeyondTheDeadZoneOnlyAndButtonsMapToTheirControls)
{
    Controls idle = GamepadControls(pad, rest);
    EXPECT_FALSE(idle.up || idle.down || idle.left || idle.right)
        << "a trigger at rest is not a direction";

    pad.stick[0].axis[0].pos = 40; // a stick that leans a little at rest
    pad.stick[0].axis[1].pos = -40;
    Controls lean = GamepadControls(pad, rest);
    EXPECT_FALSE(lean.right || lean.up);

    pad.stick[0].axis[0].pos = -100;
    pad.stick[2].axis[1].pos = 127; // D-pad down
    Controls pushed = GamepadControls(pad, rest);
    EXPECT_TRUE(pushed.left);
    EXPECT_TRUE(pushed.down);
    EXPECT_FALSE(pushed.right || pushed.up);

    pad.stick[1].axis[0].pos = 127; // the trigger pulled all the way
    EXPECT_FALSE(GamepadControls(pad, rest).right);

    pad.button[0].b = 1;
    Controls a = GamepadControls(pad, rest);
    EXPECT_TRUE(a.fire && a.enter);
    EXPECT_FALSE(a.blast || a.switch_mode || a.pause);

    pad.button[0].b = 0;
    pad.button[1].b = pad.button[3].b = pad.button[7].b = 1;
    Controls others = GamepadControls(pad, rest);
    EXPECT_TRUE(others.blast && others.switch_mode && others.pause);
    EXPECT_FALSE(others.fire || others.enter || others.escape);

    pad.num_buttons = 4; // a small pad has no Start: stale data past its buttons is ignored
    EXPECT_FALSE(GamepadControls(pad, rest).pause);
}
} // namespace
