#include "image/PcxCheck.h"

#include "PcxBytes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
ePcxFault Check(const std::vector<uint8_t>& file) { return CheckPcx(file.data(), file.size()); }

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> WithCorners(std::vector<uint8_t> file, int xmin, int ymin, int xmax, int ymax)
{
    PutWord(file, PCX_XMIN_AT, xmin);
    PutWord(file, PCX_YMIN_AT, ymin);
    PutWord(file, PCX_XMAX_AT, xmax);
    PutWord(file, PCX_YMAX_AT, ymax);
    return file;
}
} // namespace

TEST(PcxCheck, AcceptsWellFormedPicturesWithAndWithoutLinePadding)
{
    EXPECT_EQ(Check(SolidPcx(7, 5, 1)), ePcxFault::NONE);
    EXPECT_EQ(Check(SolidPcx(7, 5, 3)), ePcxFault::NONE);
    EXPECT_EQ(Check(SolidPcx(7, 5, 1, 8)), ePcxFault::NONE);
    EXPECT_EQ(Check(SolidPcx(5, 3, 3, 8)), ePcxFault::NONE);
    EXPECT_EQ(Check(SolidPcx(1, 1, 1)), ePcxFault::NONE);
}

TEST(PcxCheck, AcceptsPicturesWrittenByAllegroAndImageMagick)
{
    for (const char* name : {"allegro8", "allegro24", "magick8", "magick24"}) {
        const std::vector<uint8_t> file =
            ReadFile(std::string("tests/image/pictures/") + name + ".pcx");
        ASSERT_FALSE(file.empty()) << name;
        EXPECT_EQ(Check(file), ePcxFault::NONE) << name;
    }
}

TEST(PcxCheck, AcceptsTheLargestAllowedSizes)
{
    EXPECT_EQ(Check(SolidPcx(PCX_MAX_SIDE, 1, 3)), ePcxFault::NONE);
    EXPECT_EQ(Check(SolidPcx(1, PCX_MAX_SIDE, 1)), ePcxFault::NONE);
    EXPECT_EQ(Check(SolidPcx(PCX_MAX_SIDE, 2048, 1)), ePcxFault::NONE);
    // Corners need not start at zero; only their distance counts.
    EXPECT_EQ(Check(WithCorners(SolidPcx(7, 5, 1), 100, 200, 106, 204)), ePcxFault::NONE);
}

TEST(PcxCheck, RefusesOtherFileKinds)
{
    const std::vector<uint8_t> good = SolidPcx(7, 5, 1);
    std::vector<uint8_t> file = good;
    file[0] = 0x0B;
    EXPECT_EQ(Check(file), ePcxFault::NOT_PCX);
    for (int version : {1, 6, 255}) {
        file = good;
        file[PCX_VERSION_AT] = uint8_t(version);
        EXPECT_EQ(Check(file), ePcxFault::NOT_PCX) << version;
    }
    file = good;
    file[PCX_ENCODING_AT] = 0;
    EXPECT_EQ(Check(file), ePcxFault::NOT_PCX);
}

TEST(PcxCheck, RefusesPixelFormatsOtherThanOneOrThreeBytePlanes)
{
    for (int bits : {1, 4, 24}) {
        std::vector<uint8_t> file = SolidPcx(7, 5, 1);
        file[PCX_BITS_AT] = uint8_t(bits);
        EXPECT_EQ(Check(file), ePcxFault::FORMAT) << bits;
    }
    for (int planes : {0, 2, 4}) {
        std::vector<uint8_t> file = SolidPcx(7, 5, 3);
        file[PCX_PLANES_AT] = uint8_t(planes);
        EXPECT_EQ(Check(file), ePcxFault::FORMAT) << planes;
    }
}

TEST(PcxCheck, RefusesSizesThatWrapAreHugeOrAreZeroOrNegative)
{
    const std::vector<uint8_t> eight = SolidPcx(7, 5, 1), deep = SolidPcx(7, 5, 3);
    // 65536 x 65536 at 8 bits and 65536 x 21846 at 24 bits wrap a 32-bit byte count.
    EXPECT_EQ(Check(WithCorners(eight, 0, 0, 65535, 65535)), ePcxFault::SIZE);
    EXPECT_EQ(Check(WithCorners(deep, 0, 0, 65535, 21845)), ePcxFault::SIZE);
    EXPECT_EQ(Check(WithCorners(deep, 0, 0, 32766, 32766)), ePcxFault::SIZE);
    EXPECT_EQ(Check(WithCorners(eight, 0, 0, PCX_MAX_SIDE, 0)), ePcxFault::SIZE);
    EXPECT_EQ(Check(WithCorners(eight, 0, 0, 0, PCX_MAX_SIDE)), ePcxFault::SIZE);
    EXPECT_EQ(Check(WithCorners(eight, 0, 0, PCX_MAX_SIDE - 1, 2048)), ePcxFault::SIZE);
    EXPECT_EQ(Check(WithCorners(eight, 7, 0, 6, 4)), ePcxFault::SIZE);  // zero wide
    EXPECT_EQ(Check(WithCorners(eight, 16, 0, 6, 4)), ePcxFault::SIZE); // xmin > xmax
    EXPECT_EQ(Check(WithCorners(eight, 0, 16, 6, 4)), ePcxFault::SIZE); // ymin > ymax
    EXPECT_EQ(Check(WithCorners(eight, 65535, 0, 0, 4)), ePcxFault::SIZE);
}

TEST(PcxCheck, RefusesLineBytesThatDoNotFitTheWidth)
{
    for (int line_bytes : {0, 6, 9, 12, 65535}) {
        std::vector<uint8_t> file = SolidPcx(7, 5, 1);
        PutWord(file, PCX_LINE_BYTES_AT, line_bytes);
        EXPECT_EQ(Check(file), ePcxFault::LINE_LENGTH) << line_bytes;
    }
}

TEST(PcxCheck, RefusesEveryTruncationOfAWellFormedPicture)
{
    for (int planes : {1, 3}) {
        const std::vector<uint8_t> file = SolidPcx(150, 6, planes);
        for (size_t cut = 0; cut < file.size(); ++cut)
            EXPECT_NE(CheckPcx(file.data(), cut), ePcxFault::NONE)
                << planes << " planes cut at " << cut;
    }
}

TEST(PcxCheck, RefusesPicturesWhosePixelDataIsMissing)
{
    std::vector<uint8_t> tall = SolidPcx(7, 1, 1);
    PutWord(tall, PCX_YMAX_AT, 7999);
    EXPECT_EQ(Check(tall), ePcxFault::DATA_MISSING);

    std::vector<uint8_t> deep = SolidPcx(7, 5, 3);
    deep.resize(128);
    deep.push_back(0xC1);
    deep.push_back(0xC1); // a run with no value to repeat
    EXPECT_EQ(Check(deep), ePcxFault::DATA_MISSING);
}

TEST(PcxCheck, RefusesEightBitPicturesWithoutTheirPalette)
{
    const std::vector<uint8_t> file = SolidPcx(300, 100, 1); // more data than a palette
    std::vector<uint8_t> cut(file.begin(), file.end() - PCX_PALETTE_BYTES);
    EXPECT_EQ(Check(cut), ePcxFault::PALETTE_MISSING);
    std::vector<uint8_t> unmarked = file;
    unmarked[file.size() - PCX_PALETTE_BYTES] = 0;
    EXPECT_EQ(Check(unmarked), ePcxFault::PALETTE_MISSING);
    // Bytes between the pixels and the palette are allowed unless one of them is the
    // marker, which the library would take for the palette's start.
    std::vector<uint8_t> gap = file;
    gap.insert(gap.end() - PCX_PALETTE_BYTES, {0, 0});
    EXPECT_EQ(Check(gap), ePcxFault::NONE);
    gap[gap.size() - PCX_PALETTE_BYTES - 1] = 12;
    EXPECT_EQ(Check(gap), ePcxFault::PALETTE_MISSING);
    EXPECT_EQ(Check(std::vector<uint8_t>(file.begin(), file.begin() + 128 + 768)),
              ePcxFault::TOO_SHORT);
}

TEST(PcxCheck, ARunOverflowingARowIsNotCarriedIntoTheNext)
{
    // Five rows of three planes of seven bytes, each row written as one run of 63: the
    // excess of each run is dropped at the end of its row, so five runs fill the picture
    // and four do not.
    std::vector<uint8_t> file = SolidPcx(7, 5, 3);
    file.resize(128);
    for (int row = 0; row < 5; ++row) {
        file.push_back(0xFF);
        file.push_back(0x40);
    }
    EXPECT_EQ(Check(file), ePcxFault::NONE);
    file.resize(file.size() - 2);
    EXPECT_EQ(Check(file), ePcxFault::DATA_MISSING);
}

TEST(PcxCheck, RefusesFilesLongerThanAnyEncodingOfTheirHeader)
{
    std::vector<uint8_t> file = SolidPcx(7, 5, 3);
    const size_t limit = PcxFileLimit(file.data(), file.size());
    ASSERT_GE(limit, file.size());
    file.resize(limit, 0);
    EXPECT_EQ(Check(file), ePcxFault::NONE);
    file.push_back(0);
    EXPECT_EQ(Check(file), ePcxFault::TOO_LONG);
}

TEST(PcxCheck, FileLimitCoversTheWorstEncodingAndIsZeroForARefusedHeader)
{
    // Every byte below 0xC0 may stand alone, but 0xC0 and above take two bytes each.
    const std::vector<uint8_t> file = SolidPcx(7, 5, 1);
    EXPECT_EQ(PcxFileLimit(file.data(), file.size()), 128u + 2 * 7 * 5 + PCX_PALETTE_BYTES);
    const std::vector<uint8_t> huge = WithCorners(file, 0, 0, 32766, 32766);
    EXPECT_EQ(PcxFileLimit(huge.data(), huge.size()), 0u);
    EXPECT_EQ(PcxFileLimit(file.data(), 127), 0u);
}
