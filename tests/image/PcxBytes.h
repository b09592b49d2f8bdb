#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds PCX files in memory for the picture tests: a well-formed picture of one colour,
// which a test then damages one field or one length at a time.

// Offsets of header fields, as words (two bytes, low first) unless noted.
const int PCX_XMIN_AT = 4, PCX_YMIN_AT = 6, PCX_XMAX_AT = 8, PCX_YMAX_AT = 10;
const int PCX_VERSION_AT = 1, PCX_ENCODING_AT = 2, PCX_BITS_AT = 3, PCX_PLANES_AT = 65; // bytes
const int PCX_LINE_BYTES_AT = 66;

// What the colour of every pixel of SolidPcx pictures becomes at 16 bits.
const uint16_t SOLID_16 = 0xFC00;

// A picture of width x height pixels in that colour, 1 plane (8 bits with a 256-colour
// palette) or 3 planes (24 bits), each row run-length encoded in runs of up to 63 bytes.
// line_bytes 0 means the width itself.
std::vector<uint8_t> SolidPcx(int width, int height, int planes, int line_bytes = 0);

void PutWord(std::vector<uint8_t>& file, int at, int value);

// The header of file followed by other data.
std::vector<uint8_t> HeaderThen(const std::vector<uint8_t>& file, const std::vector<uint8_t>& data);

// count runs of the longest length, 63, all of value.
std::vector<uint8_t> LongestRuns(int count, uint8_t value);

// Writes bytes to a new file in the test's temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);
