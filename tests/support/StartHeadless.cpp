#include "support/Headless.h"

#include <cerrno>
#include <cstdlib>

void StartHeadlessAllegro()
{
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    _rgb_r_shift_16 = 11;
    _rgb_g_shift_16 = 5;
    _rgb_b_shift_16 = 0;
    set_color_depth(16);
    set_color_conversion(COLORCONV_TOTAL);
}
