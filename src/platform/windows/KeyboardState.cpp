#include "platform/KeyboardState.h"

// After allegro.h, which it needs.
#include <winalleg.h>

namespace {
struct KeyOf {
    int scancode; // the library's
    int virtual_key;
};

// The keys a player may hold through a switch: letters and digits go by their characters.
const KeyOf NAMED_KEYS[] = {
    {KEY_LEFT, VK_LEFT},         {KEY_RIGHT, VK_RIGHT},       {KEY_UP, VK_UP},
    {KEY_DOWN, VK_DOWN},         {KEY_LSHIFT, VK_LSHIFT},     {KEY_RSHIFT, VK_RSHIFT},
    {KEY_LCONTROL, VK_LCONTROL}, {KEY_RCONTROL, VK_RCONTROL}, {KEY_ALT, VK_LMENU},
    {KEY_ALTGR, VK_RMENU},       {KEY_ENTER, VK_RETURN},      {KEY_SPACE, VK_SPACE},
    {KEY_ESC, VK_ESCAPE},        {KEY_TAB, VK_TAB},           {KEY_PAUSE, VK_PAUSE},
};

bool Down(int virtual_key) { return GetAsyncKeyState(virtual_key) & 0x8000; }
} // namespace

bool ReadKeyboardState(bool down[KEY_MAX])
{
    if (!system_driver || system_driver->id != SYSTEM_DIRECTX)
        return false;
    for (int i = 0; i < 26; ++i)
        down[KEY_A + i] = Down('A' + i);
    for (int i = 0; i < 10; ++i)
        down[KEY_0 + i] = Down('0' + i);
    for (int i = 0; i < 12; ++i)
        down[KEY_F1 + i] = Down(VK_F1 + i);
    for (const KeyOf& named : NAMED_KEYS)
        down[named.scancode] = Down(named.virtual_key);
    return true;
}
