// Feeds arbitrary bytes to the game's picture reading: the PCX check, then the library's
// decoder for whatever passes. Any crash, hang, leak or oversized allocation is a fault, and
// so is a bitmap whose size or pixels differ from what the bytes the check accepted say:
// that would mean the library read something the check did not look at.
#include "bitmap/PcxCheck.h"
#include "bitmap/PictureFile.h"

#include <cstdlib>
#include <vector>

namespace {
int Word(const uint8_t* data, int at) { return data[at] | (data[at + 1] << 8); }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BITMAP* picture = DecodePicture(data, size);
    if (!picture)
        return 0;
    const int width = Word(data, 8) - Word(data, 4) + 1;
    const int height = Word(data, 10) - Word(data, 6) + 1;
    if (bitmap_color_depth(picture) != 16 || picture->w != width || picture->h != height)
        std::abort();
    // The pixels, decoded here independently of the library: rows of runs that stop at the
    // end of their row, planes red, green, blue, and for one plane the palette in the file's
    // last 768 bytes.
    const int planes = data[65], line_bytes = Word(data, 66);
    std::vector<uint8_t> row(size_t(line_bytes) * planes);
    for (size_t y = 0, at = 128; y < size_t(height); ++y) {
        for (size_t x = 0; x < row.size();) {
            int count = 1;
            uint8_t value = data[at++];
            if ((value & 0xC0) == 0xC0) {
                count = value & 0x3F;
                value = data[at++];
            }
            for (; count > 0 && x < row.size(); --count)
                row[x++] = value;
        }
        for (int x = 0; x < width; ++x) {
            auto palette = [&](int i) {
                return _rgb_scale_6[data[size - 768 + 3 * row[x] + i] / 4];
            };
            const int expected =
                planes == 1 ? makecol16(palette(0), palette(1), palette(2))
                            : makecol16(row[x], row[line_bytes + x], row[2 * line_bytes + x]);
            if (reinterpret_cast<uint16_t*>(picture->line[y])[x] != expected)
                std::abort();
        }
    }
    destroy_bitmap(picture);
    return 0;
}
