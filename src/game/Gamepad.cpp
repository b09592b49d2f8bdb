#include "game/Gamepad.h"

#include <cstdlib>

namespace {
// Axis positions run from -128 to 127. A worn stick leans a little at rest, so a direction
// needs well over a third of the travel.
const int DEAD_ZONE = 48;

const int BUTTON_A = 0;
const int BUTTON_B = 1;
const int BUTTON_Y = 3;
const int BUTTON_START = 7;

int _rest[MAX_JOYSTICK_STICKS][MAX_JOYSTICK_AXIS];
bool _present = false;

bool Held(const JOYSTICK_INFO& pad, int button)
{
    return button < pad.num_buttons && pad.button[button].b;
}
} // namespace

void StartGamepad()
{
    if (install_joystick(JOY_TYPE_AUTODETECT) != 0 || num_joysticks == 0)
        return;
    poll_joystick();
    const JOYSTICK_INFO& pad = joy[0];
    for (int s = 0; s < pad.num_sticks; ++s)
        for (int a = 0; a < pad.stick[s].num_axis; ++a)
            _rest[s][a] = pad.stick[s].axis[a].pos;
    _present = true;
}

void AddGamepad(Controls* controls)
{
    if (!_present)
        return;
    poll_joystick();
    const Controls pad = GamepadControls(joy[0], _rest);
    controls->up |= pad.up;
    controls->down |= pad.down;
    controls->left |= pad.left;
    controls->right |= pad.right;
    controls->fire |= pad.fire;
    controls->blast |= pad.blast;
    controls->switch_mode |= pad.switch_mode;
    controls->enter |= pad.enter;
    controls->pause |= pad.pause;
}

Controls GamepadControls(const JOYSTICK_INFO& pad,
                         const int rest[MAX_JOYSTICK_STICKS][MAX_JOYSTICK_AXIS])
{
    Controls controls;
    for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; ++s) {
        const JOYSTICK_STICK_INFO& stick = pad.stick[s];
        if (stick.num_axis < 2)
            continue;
        const int x = stick.axis[0].pos, y = stick.axis[1].pos;
        if (std::abs(rest[s][0]) < DEAD_ZONE) {
            controls.left |= x < -DEAD_ZONE;
            controls.right |= x > DEAD_ZONE;
        }
        if (std::abs(rest[s][1]) < DEAD_ZONE) {
            controls.up |= y < -DEAD_ZONE;
            controls.down |= y > DEAD_ZONE;
        }
    }
    controls.fire = Held(pad, BUTTON_A);
    controls.enter = Held(pad, BUTTON_A);
    controls.blast = Held(pad, BUTTON_B);
    controls.switch_mode = Held(pad, BUTTON_Y);
    controls.pause = Held(pad, BUTTON_START);
    return controls;
}
