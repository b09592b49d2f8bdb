#pragma once

#include <cstddef>
#include <cstdint>

// Checks a PCX file held in memory before the library decodes it. Allegro's reader trusts
// the header: sizes that wrap, zero or negative sizes, missing pixel data or a missing
// palette make it write out of bounds, spin for seconds, allocate gigabytes or return
// garbage. Only files that pass here are handed to it.

// Why a file was refused.
enum class ePcxFault {
    NONE,            // the file is fit to decode
    TOO_SHORT,       // shorter than the header, or than the header and the 256-colour palette
    NOT_PCX,         // wrong signature, version or encoding
    FORMAT,          // not 8 bits per plane with 1 or 3 planes
    SIZE,            // width or height below 1 or above the limits
    LINE_LENGTH,     // bytes per line do not fit the width
    TOO_LONG,        // longer than any well-formed file with this header can be
    DATA_MISSING,    // the pixel data runs out before the last row
    PALETTE_MISSING, // an 8-bit picture without its 256-colour palette at the end, or with
                     // a stray palette marker before it
};

const int PCX_HEADER_BYTES = 128;
const int PCX_PALETTE_BYTES = 1 + 256 * 3; // a marker byte, then 256 red, green, blue triples
const int PCX_MAX_SIDE = 8192;             // pixels, across or down
const long PCX_MAX_PIXELS = 1L << 24;      // 16.7 million: 32 MB once converted to 16 bits

// Checks the whole file.
ePcxFault CheckPcx(const uint8_t* data, size_t size);

// The most bytes a well-formed file can hold given its first PCX_HEADER_BYTES bytes (every
// byte of every row encoded at worst as a run of one, plus the palette), or 0 when the header
// alone already refuses the file. Lets a reader stop before holding a huge file in memory.
size_t PcxFileLimit(const uint8_t* header, size_t size);
