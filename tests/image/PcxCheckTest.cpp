#include "bitmap/PcxCheck.h"
#include "bitmap/MemoryFile.h"
#include "bitmap/PictureFile.h"

#include "support/Headless.h"
#include "support/PeakMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

// Builds PCX files in memory: a well-formed picture of one colour, which a test then
// damages one field or one length at a time.
const int PCX_XMIN_AT = 4, PCX_YMIN_AT = 6, PCX_XMAX_AT = 8, PCX_YMAX_AT = 10;          // words
const int PCX_VERSION_AT = 1, PCX_ENCODING_AT = 2, PCX_BITS_AT = 3, PCX_PLANES_AT = 65; // bytes
const int PCX_LINE_BYTES_AT = 66;
const int LONGEST_RUN = 63;
const uint8_t SOLID_INDEX = 1; // the palette entry that 8-bit pictures use

void PutRuns(Bytes& file, int count, uint8_t value)
{
    for (int run; count > 0; count -= run) {
        run = std::min(count, LONGEST_RUN);
        file.insert(file.end(), {uint8_t(0xC0 | run), value});
    }
}

// The file with a byte, or a little-endian word, changed.
Bytes With(Bytes file, int at, int value, bool word = false)
{
    file[at] = uint8_t(value);
    if (word)
        file[at + 1] = uint8_t(value >> 8);
    return file;
}

Bytes WithCorners(const Bytes& file, int xmin, int ymin, int xmax, int ymax)
{
    return With(With(With(With(file, PCX_XMIN_AT, xmin, true), PCX_YMIN_AT, ymin, true),
                     PCX_XMAX_AT, xmax, true),
                PCX_YMAX_AT, ymax, true);
}

// A picture of width x height pixels of one colour, 1 plane (8 bits with a 256-colour
// palette) or 3 planes (24 bits), each row run-length encoded in runs of up to 63 bytes.
// line_bytes 0 means the width itself.
Bytes SolidPcx(int width, int height, int planes, int line_bytes = 0)
{
    line_bytes = line_bytes ? line_bytes : width;
    Bytes file = WithCorners(Bytes(PCX_HEADER_BYTES, 0), 0, 0, width - 1, height - 1);
    file[0] = 0x0A;
    file[PCX_VERSION_AT] = 5;
    file[PCX_ENCODING_AT] = 1;
    file[PCX_BITS_AT] = 8;
    file[PCX_PLANES_AT] = uint8_t(planes);
    file = With(file, PCX_LINE_BYTES_AT, line_bytes, true);
    const uint8_t channels[3] = {255, 128, 0};
    for (int row = 0; row < height; ++row)
        for (int plane = 0; plane < planes; ++plane)
            PutRuns(file, line_bytes, planes == 1 ? SOLID_INDEX : channels[plane]);
    if (planes == 1) {
        file.push_back(12); // the palette marker
        file.resize(file.size() + 256 * 3, 0);
        std::copy(channels, channels + 3, file.end() - 256 * 3 + 3 * SOLID_INDEX);
    }
    return file;
}

// The header of file followed by count runs of the longest length, all of value.
Bytes HeaderThenLongestRuns(const Bytes& file, int count, uint8_t value)
{
    Bytes joined(file.begin(), file.begin() + PCX_HEADER_BYTES);
    PutRuns(joined, count * LONGEST_RUN, value);
    return joined;
}

Bytes Resized(Bytes file, size_t size)
{
    file.resize(size, 0);
    return file;
}

// An 8-bit picture with bytes put between its pixel data and its palette.
Bytes WithGap(Bytes file, const Bytes& gap)
{
    file.insert(file.end() - PCX_PALETTE_BYTES, gap.begin(), gap.end());
    return file;
}

TEST(PcxCheck, EachKindOfFileIsAcceptedOrRefusedForItsReason)
{
    const Bytes eight = SolidPcx(7, 5, 1), deep = SolidPcx(7, 5, 3);
    const Bytes large = SolidPcx(300, 100, 1); // more pixel data than a palette
    const Bytes unpaletted(large.begin(), large.end() - PCX_PALETTE_BYTES);
    const size_t deep_limit = PCX_HEADER_BYTES + 2 * 7 * 5 * 3; // every byte a run of one
    const struct {
        const char* what;
        Bytes file;
        ePcxFault fault;
    } cases[] = {
        {"8 bits", eight, ePcxFault::NONE},
        {"24 bits", deep, ePcxFault::NONE},
        {"8 bits, padded lines", SolidPcx(7, 5, 1, 8), ePcxFault::NONE},
        {"widest", SolidPcx(PCX_MAX_SIDE, 1, 3), ePcxFault::NONE},
        {"corners away from zero", WithCorners(eight, 100, 200, 106, 204), ePcxFault::NONE},
        {"longest encoding", Resized(deep, deep_limit), ePcxFault::NONE},
        {"one byte too long", Resized(deep, deep_limit + 1), ePcxFault::TOO_LONG},
        {"header only", Resized(eight, PCX_HEADER_BYTES - 1), ePcxFault::TOO_SHORT},
        {"shorter than a palette", Resized(large, 128 + 768), ePcxFault::TOO_SHORT},
        {"signature", With(eight, 0, 0x0B), ePcxFault::NOT_PCX},
        {"version 1", With(eight, PCX_VERSION_AT, 1), ePcxFault::NOT_PCX},
        {"version 6", With(eight, PCX_VERSION_AT, 6), ePcxFault::NOT_PCX},
        {"not encoded", With(eight, PCX_ENCODING_AT, 0), ePcxFault::NOT_PCX},
        {"4 bits", With(eight, PCX_BITS_AT, 4), ePcxFault::FORMAT},
        {"2 planes", With(deep, PCX_PLANES_AT, 2), ePcxFault::FORMAT},
        {"4 planes", With(deep, PCX_PLANES_AT, 4), ePcxFault::FORMAT},
        // 65536 x 65536 at 8 bits wraps a 32-bit byte count.
        {"size wrap, 8 bits", WithCorners(eight, 0, 0, 65535, 65535), ePcxFault::SIZE},
        {"too wide", WithCorners(eight, 0, 0, PCX_MAX_SIDE, 0), ePcxFault::SIZE},
        {"too tall", WithCorners(eight, 0, 0, 0, PCX_MAX_SIDE), ePcxFault::SIZE},
        {"too many pixels", WithCorners(eight, 0, 0, PCX_MAX_SIDE - 1, 2048), ePcxFault::SIZE},
        {"zero wide", WithCorners(eight, 7, 0, 6, 4), ePcxFault::SIZE},
        {"negative height", WithCorners(eight, 0, 16, 6, 4), ePcxFault::SIZE},
        {"line short", With(eight, PCX_LINE_BYTES_AT, 6, true), ePcxFault::LINE_LENGTH},
        {"line padded past a word", With(SolidPcx(8, 5, 1), PCX_LINE_BYTES_AT, 9, true),
         ePcxFault::LINE_LENGTH},
        {"rows missing", With(SolidPcx(7, 1, 1), PCX_YMAX_AT, 7999, true), ePcxFault::DATA_MISSING},
        // A run overflowing a row is cut at its end, not carried into the next row.
        {"a run for each row", HeaderThenLongestRuns(deep, 5, 0x40), ePcxFault::NONE},
        {"a run short", HeaderThenLongestRuns(deep, 4, 0x40), ePcxFault::DATA_MISSING},
        {"no palette", unpaletted, ePcxFault::PALETTE_MISSING},
        {"palette unmarked", With(large, int(large.size()) - PCX_PALETTE_BYTES, 0),
         ePcxFault::PALETTE_MISSING},
        // Bytes between the pixels and the palette are allowed unless one of them is the
        // marker, which the library would take for the palette's start.
        {"gap before the palette", WithGap(large, {0, 0}), ePcxFault::NONE},
        {"stray marker", WithGap(large, {0, 12}), ePcxFault::PALETTE_MISSING},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckPcx(c.file.data(), c.file.size()), c.fault) << c.what;

    // A refused header has no file limit: a reader would otherwise take in all of a huge
    // file before refusing it.
    const Bytes huge = WithCorners(eight, 0, 0, 32766, 32766);
    EXPECT_EQ(PcxFileLimit(huge.data(), huge.size()), 0u);
    EXPECT_EQ(PcxFileLimit(huge.data(), 127), 0u);

    // The reader takes in a file as long as the longest encoding, and no more; nor an empty
    // file, a missing one or a folder.
    const std::string path = testing::TempDir() + "longest.pcx";
    for (size_t size : {deep_limit, deep_limit + 1, size_t(0)}) {
        const Bytes file = Resized(deep, size);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), size);
        BITMAP* picture = LoadPicture(path.c_str());
        EXPECT_EQ(picture != nullptr, size == deep_limit) << size;
        if (picture)
            destroy_bitmap(picture);
    }
    EXPECT_EQ(LoadPicture("tests/image/pictures"), nullptr);
}

// Each check runs in a child process of its own, whose peak memory grows over the load by what
// that load cost.
void ExitWithSuccessIfRefusedWithin(const std::string& path, long budget_kilobytes)
{
    const long before = PeakMemoryKilobytes();
    BITMAP* picture = LoadPicture(path.c_str());
    const long after = PeakMemoryKilobytes();
    std::exit(picture == nullptr && after - before <= budget_kilobytes ? 0 : 1);
}

TEST(PictureFile, ReadsImageMagickPicturesAsImageMagickDoes)
{
    const int width = 45, height = 30;
    for (const char* name : {"blend8", "blend24"}) {
        const std::string stem = std::string("tests/image/pictures/") + name;
        std::ifstream raw(stem + ".rgb", std::ios::binary);
        const std::vector<uint8_t> rgb{std::istreambuf_iterator<char>(raw),
                                       std::istreambuf_iterator<char>()};
        ASSERT_EQ(rgb.size(), size_t(width * height * 3)) << name;
        BITMAP* picture = LoadPicture((stem + ".pcx").c_str());
        ASSERT_NE(picture, nullptr) << name;
        ASSERT_EQ(picture->w, width);
        ASSERT_EQ(picture->h, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* pixel = &rgb[3 * (size_t(y) * width + x)];
                ASSERT_EQ(PixelAt(picture, x, y), makecol16(pixel[0], pixel[1], pixel[2]))
                    << name << " at " << x << "," << y;
            }
        destroy_bitmap(picture);
    }
}

// The library is served what it asks for up to the end of the bytes, and no further.
TEST(PictureFile, MemoryFilesStopAtTheEnd)
{
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    sMemoryFile memory = {bytes, sizeof bytes, 0};
    PACKFILE* file = OpenMemoryFile(&memory);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(pack_getc(file), 1);
    EXPECT_EQ(pack_fseek(file, 2), 0);
    uint8_t read[8] = {};
    EXPECT_EQ(pack_fread(read, 8, file), 2);
    EXPECT_EQ(read[1], 5);
    EXPECT_EQ(pack_getc(file), EOF);
    EXPECT_NE(pack_feof(file), 0);
    pack_fclose(file);
}

// Each file of the regression corpus, and a sparse gigabyte behind a 7x5 header, is refused
// after reading at most its limit.
TEST(PictureFile, HostileFilesAreRefusedWithinSmallMemory)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("tests/fuzz/corpus"))
        if (entry.path().filename().string().rfind("regression-", 0) == 0)
            files.push_back(entry.path().string());
    ASSERT_GE(files.size(), 17u);
    files.push_back(testing::TempDir() + "long.pcx");
    std::filesystem::copy_file("tests/image/pictures/allegro24.pcx", files.back(),
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(files.back(), 1L << 30);
    for (const std::string& path : files)
        EXPECT_EXIT(ExitWithSuccessIfRefusedWithin(path, 4096), testing::ExitedWithCode(0), "")
            << path;
}
} // namespace
