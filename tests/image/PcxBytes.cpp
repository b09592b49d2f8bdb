#include "PcxBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {
const int HEADER_BYTES = 128;
const uint8_t RUN_FLAGS = 0xC0;
const int LONGEST_RUN = 63;
const uint8_t SOLID_INDEX = 1; // the palette entry that 8-bit pictures use
const uint8_t PALETTE_MARKER = 12;
const uint8_t SOLID_RED = 255, SOLID_GREEN = 128, SOLID_BLUE = 0;

void PutRuns(std::vector<uint8_t>& file, int count, uint8_t value)
{
    while (count > 0) {
        const int run = std::min(count, LONGEST_RUN);
        file.push_back(uint8_t(RUN_FLAGS | run));
        file.push_back(value);
        count -= run;
    }
}
} // namespace

void PutWord(std::vector<uint8_t>& file, int at, int value)
{
    file[at] = uint8_t(value & 0xFF);
    file[at + 1] = uint8_t((value >> 8) & 0xFF);
}

std::vector<uint8_t> SolidPcx(int width, int height, int planes, int line_bytes)
{
    if (line_bytes == 0)
        line_bytes = width;
    std::vector<uint8_t> file(HEADER_BYTES, 0);
    file[0] = 0x0A;
    file[PCX_VERSION_AT] = 5;
    file[PCX_ENCODING_AT] = 1;
    file[PCX_BITS_AT] = 8;
    PutWord(file, PCX_XMAX_AT, width - 1);
    PutWord(file, PCX_YMAX_AT, height - 1);
    file[PCX_PLANES_AT] = uint8_t(planes);
    PutWord(file, PCX_LINE_BYTES_AT, line_bytes);
    const uint8_t channels[3] = {SOLID_RED, SOLID_GREEN, SOLID_BLUE};
    for (int row = 0; row < height; ++row)
        for (int plane = 0; plane < planes; ++plane)
            PutRuns(file, line_bytes, planes == 1 ? SOLID_INDEX : channels[plane]);
    if (planes == 1) {
        file.push_back(PALETTE_MARKER);
        const size_t palette = file.size();
        file.resize(palette + 256 * 3, 0);
        std::copy(channels, channels + 3, file.begin() + palette + 3 * SOLID_INDEX);
    }
    return file;
}

std::vector<uint8_t> HeaderThen(const std::vector<uint8_t>& file, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> joined(HEADER_BYTES + data.size());
    std::copy(file.begin(), file.begin() + HEADER_BYTES, joined.begin());
    std::copy(data.begin(), data.end(), joined.begin() + HEADER_BYTES);
    return joined;
}

std::vector<uint8_t> LongestRuns(int count, uint8_t value)
{
    std::vector<uint8_t> runs;
    PutRuns(runs, count * LONGEST_RUN, value);
    return runs;
}

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}
