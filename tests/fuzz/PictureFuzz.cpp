// Feeds arbitrary bytes to the game's picture reading: the PCX check, then the library's
// decoder for whatever passes. Any crash, hang, leak or oversized allocation is a fault, and
// so is a bitmap whose size or pixels differ from what the bytes the check accepted say:
// that would mean the library read something the check did not look at.
#include "bitmap/PcxCheck.h"
#include "bitmap/PictureFile.h"
#include "support/Headless.h"

#include <cstdlib>
#include <vector>

namespace {
int Word(const uint8_t* data, int at) { return data[at] | (data[at + 1] << 8); }

// The picture's pixels at 16 bits, decoded here independently of the library: rows of
// runs that stop at the end of their row, planes red, green, blue, and for one plane the
// palette in the file's last 768 bytes.
std::vector<uint16_t> ExpectedPixels(const uint8_t* data, size_t size, int& width, int& height)
{
    width = Word(data, 8) - Word(data, 4) + 1;
    height = Word(data, 10) - Word(data, 6) + 1;
    const int planes = data[65], line_bytes = Word(data, 66);
    std::vector<uint8_t> bytes(size_t(width) * height * planes);
    size_t at = 128;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < line_bytes * planes;) {
            int count = 1;
            uint8_t value = data[at++];
            if ((value & 0xC0) == 0xC0) {
                count = value & 0x3F;
                value = data[at++];
            }
            for (; count > 0; --count, ++x)
                if (x < line_bytes * planes && x % line_bytes < width)
                    bytes[(size_t(y) * planes + x / line_bytes) * width + x % line_bytes] = value;
        }
    std::vector<uint16_t> pixels(size_t(width) * height);
    if (planes == 1) {
        const uint8_t* palette = data + size - 768;
        for (size_t i = 0; i < pixels.size(); ++i) {
            const uint8_t* rgb = palette + 3 * bytes[i];
            pixels[i] = uint16_t(makecol16(_rgb_scale_6[rgb[0] / 4], _rgb_scale_6[rgb[1] / 4],
                                           _rgb_scale_6[rgb[2] / 4]));
        }
        return pixels;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* row = bytes.data() + size_t(y) * 3 * width;
            pixels[size_t(y) * width + x] =
                uint16_t(makecol16(row[x], row[width + x], row[2 * width + x]));
        }
    return pixels;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartHeadlessAllegro();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BITMAP* picture = DecodePicture(data, size);
    if (!picture)
        return 0;
    int width, height;
    const std::vector<uint16_t> expected = ExpectedPixels(data, size, width, height);
    if (bitmap_color_depth(picture) != 16 || picture->w != width || picture->h != height)
        std::abort();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (reinterpret_cast<uint16_t*>(picture->line[y])[x] != expected[size_t(y) * width + x])
                std::abort();
    destroy_bitmap(picture);
    return 0;
}
