#include "bitmap/PcxCheck.h"

#include <algorithm>

namespace {
// Offsets of the header fields that the library reads.
const int SIGNATURE_AT = 0, VERSION_AT = 1, ENCODING_AT = 2, BITS_AT = 3;
const int XMIN_AT = 4, YMIN_AT = 6, XMAX_AT = 8, YMAX_AT = 10;
const int PLANES_AT = 65, LINE_BYTES_AT = 66;

const uint8_t SIGNATURE = 0x0A;
const uint8_t RLE_ENCODING = 1;
const uint8_t PALETTE_MARKER = 12;
const uint8_t RUN_FLAGS = 0xC0; // a byte with both top bits set starts a run
const uint8_t RUN_LENGTH = 0x3F;

// Versions 0, 2, 3, 4 and 5 were issued; 1 never was.
bool KnownVersion(uint8_t version) { return version <= 5 && version != 1; }

int Word(const uint8_t* data, int at) { return data[at] | (data[at + 1] << 8); }

struct sLayout {
    int width, height, planes, line_bytes;
};

ePcxFault ReadHeader(const uint8_t* data, size_t size, sLayout& layout)
{
    if (size < size_t(PCX_HEADER_BYTES))
        return ePcxFault::TOO_SHORT;
    if (data[SIGNATURE_AT] != SIGNATURE || !KnownVersion(data[VERSION_AT]) ||
        data[ENCODING_AT] != RLE_ENCODING)
        return ePcxFault::NOT_PCX;
    layout.planes = data[PLANES_AT];
    if (data[BITS_AT] != 8 || (layout.planes != 1 && layout.planes != 3))
        return ePcxFault::FORMAT;
    // Corners are inclusive; a reversed pair would make the library's size negative.
    layout.width = Word(data, XMAX_AT) - Word(data, XMIN_AT) + 1;
    layout.height = Word(data, YMAX_AT) - Word(data, YMIN_AT) + 1;
    if (layout.width < 1 || layout.width > PCX_MAX_SIDE || layout.height < 1 ||
        layout.height > PCX_MAX_SIDE || long(layout.width) * layout.height > PCX_MAX_PIXELS)
        return ePcxFault::SIZE;
    // Writers store the width itself, or pad it to an even count or a whole 32-bit word.
    layout.line_bytes = Word(data, LINE_BYTES_AT);
    if (layout.line_bytes < layout.width || layout.line_bytes > ((layout.width + 3) & ~3))
        return ePcxFault::LINE_LENGTH;
    return ePcxFault::NONE;
}

size_t PaletteBytes(const sLayout& layout) { return layout.planes == 1 ? PCX_PALETTE_BYTES : 0; }

size_t Limit(const sLayout& layout)
{
    const size_t decoded = size_t(layout.height) * layout.line_bytes * layout.planes;
    return PCX_HEADER_BYTES + 2 * decoded + PaletteBytes(layout);
}

// Walks the runs as the library does, each row on its own (a run that overflows a row is
// cut off there, not carried on). Returns where the pixel data ends, or 0 when a row is
// still unfilled at `end`.
size_t PixelDataEnd(const uint8_t* data, size_t end, const sLayout& layout)
{
    const int row_bytes = layout.line_bytes * layout.planes;
    size_t at = PCX_HEADER_BYTES;
    for (int row = 0; row < layout.height; ++row) {
        int filled = 0;
        while (filled < row_bytes) {
            if (at >= end)
                return 0;
            const uint8_t code = data[at++];
            if ((code & RUN_FLAGS) == RUN_FLAGS) {
                if (at >= end)
                    return 0;
                ++at;
                filled += code & RUN_LENGTH;
            } else {
                ++filled;
            }
        }
    }
    return at;
}
} // namespace

ePcxFault CheckPcx(const uint8_t* data, size_t size)
{
    sLayout layout;
    const ePcxFault header = ReadHeader(data, size, layout);
    if (header != ePcxFault::NONE)
        return header;
    const size_t palette = PaletteBytes(layout);
    if (size < PCX_HEADER_BYTES + palette)
        return ePcxFault::TOO_SHORT;
    if (size > Limit(layout))
        return ePcxFault::TOO_LONG;
    const size_t data_end = size - palette;
    if (palette && data[data_end] != PALETTE_MARKER)
        return ePcxFault::PALETTE_MISSING;
    const size_t pixels_end = PixelDataEnd(data, data_end, layout);
    if (pixels_end == 0)
        return ePcxFault::DATA_MISSING;
    // The library takes the first marker after the pixel data as the palette's start.
    if (palette && std::find(data + pixels_end, data + data_end, PALETTE_MARKER) != data + data_end)
        return ePcxFault::PALETTE_MISSING;
    return ePcxFault::NONE;
}

size_t PcxFileLimit(const uint8_t* header, size_t size)
{
    sLayout layout;
    return ReadHeader(header, size, layout) == ePcxFault::NONE ? Limit(layout) : 0;
}
