// Feeds arbitrary bytes to the game's picture reading: the PCX check, then the library's
// decoder for whatever passes. Any crash, hang, leak or oversized allocation is a fault, and
// so is a bitmap that does not match the limits the check promises.
#include "image/PcxCheck.h"
#include "image/PictureFile.h"

#include <cerrno>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    _rgb_r_shift_16 = 11;
    _rgb_g_shift_16 = 5;
    _rgb_b_shift_16 = 0;
    set_color_depth(16);
    set_color_conversion(COLORCONV_TOTAL);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BITMAP* picture = DecodePicture(data, size);
    if (!picture)
        return 0;
    const bool sound = bitmap_color_depth(picture) == 16 && picture->w >= 1 &&
                       picture->w <= PCX_MAX_SIDE && picture->h >= 1 &&
                       picture->h <= PCX_MAX_SIDE &&
                       long(picture->w) * picture->h <= PCX_MAX_PIXELS;
    if (!sound)
        std::abort();
    destroy_bitmap(picture);
    return 0;
}
