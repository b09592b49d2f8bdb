#include "image/PcxCheck.h"

#include "PcxBytes.h"

#include <gtest/gtest.h>

namespace {
using Bytes = std::vector<uint8_t>;

ePcxFault Check(const Bytes& file) { return CheckPcx(file.data(), file.size()); }

Bytes WithByte(Bytes file, int at, uint8_t value)
{
    file[at] = value;
    return file;
}

Bytes WithWord(Bytes file, int at, int value)
{
    PutWord(file, at, value);
    return file;
}

Bytes WithCorners(Bytes file, int xmin, int ymin, int xmax, int ymax)
{
    PutWord(file, PCX_XMIN_AT, xmin);
    PutWord(file, PCX_YMIN_AT, ymin);
    PutWord(file, PCX_XMAX_AT, xmax);
    PutWord(file, PCX_YMAX_AT, ymax);
    return file;
}

Bytes Resized(Bytes file, size_t size)
{
    file.resize(size, 0);
    return file;
}

// An 8-bit picture with bytes put between its pixel data and its palette.
Bytes WithGap(const Bytes& file, const Bytes& gap)
{
    Bytes gapped = file;
    gapped.insert(gapped.end() - PCX_PALETTE_BYTES, gap.begin(), gap.end());
    return gapped;
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
        {"24 bits, padded lines", SolidPcx(5, 3, 3, 8), ePcxFault::NONE},
        {"one pixel", SolidPcx(1, 1, 1), ePcxFault::NONE},
        {"widest", SolidPcx(PCX_MAX_SIDE, 1, 3), ePcxFault::NONE},
        {"tallest", SolidPcx(1, PCX_MAX_SIDE, 1), ePcxFault::NONE},
        {"corners away from zero", WithCorners(eight, 100, 200, 106, 204), ePcxFault::NONE},
        {"longest encoding", Resized(deep, deep_limit), ePcxFault::NONE},
        {"one byte too long", Resized(deep, deep_limit + 1), ePcxFault::TOO_LONG},
        {"header only", Resized(eight, PCX_HEADER_BYTES - 1), ePcxFault::TOO_SHORT},
        {"shorter than a palette", Resized(large, 128 + 768), ePcxFault::TOO_SHORT},
        {"signature", WithByte(eight, 0, 0x0B), ePcxFault::NOT_PCX},
        {"version 1", WithByte(eight, PCX_VERSION_AT, 1), ePcxFault::NOT_PCX},
        {"version 6", WithByte(eight, PCX_VERSION_AT, 6), ePcxFault::NOT_PCX},
        {"version 255", WithByte(eight, PCX_VERSION_AT, 255), ePcxFault::NOT_PCX},
        {"not encoded", WithByte(eight, PCX_ENCODING_AT, 0), ePcxFault::NOT_PCX},
        {"1 bit", WithByte(eight, PCX_BITS_AT, 1), ePcxFault::FORMAT},
        {"4 bits", WithByte(eight, PCX_BITS_AT, 4), ePcxFault::FORMAT},
        {"24 bits a plane", WithByte(eight, PCX_BITS_AT, 24), ePcxFault::FORMAT},
        {"no planes", WithByte(deep, PCX_PLANES_AT, 0), ePcxFault::FORMAT},
        {"2 planes", WithByte(deep, PCX_PLANES_AT, 2), ePcxFault::FORMAT},
        {"4 planes", WithByte(deep, PCX_PLANES_AT, 4), ePcxFault::FORMAT},
        // 65536 x 65536 at 8 bits and 65536 x 21846 at 24 bits wrap a 32-bit byte count.
        {"size wrap, 8 bits", WithCorners(eight, 0, 0, 65535, 65535), ePcxFault::SIZE},
        {"size wrap, 24 bits", WithCorners(deep, 0, 0, 65535, 21845), ePcxFault::SIZE},
        {"huge", WithCorners(deep, 0, 0, 32766, 32766), ePcxFault::SIZE},
        {"too wide", WithCorners(eight, 0, 0, PCX_MAX_SIDE, 0), ePcxFault::SIZE},
        {"too tall", WithCorners(eight, 0, 0, 0, PCX_MAX_SIDE), ePcxFault::SIZE},
        {"too many pixels", WithCorners(eight, 0, 0, PCX_MAX_SIDE - 1, 2048), ePcxFault::SIZE},
        {"zero wide", WithCorners(eight, 7, 0, 6, 4), ePcxFault::SIZE},
        {"negative width", WithCorners(eight, 16, 0, 6, 4), ePcxFault::SIZE},
        {"negative height", WithCorners(eight, 0, 16, 6, 4), ePcxFault::SIZE},
        {"most negative width", WithCorners(eight, 65535, 0, 0, 4), ePcxFault::SIZE},
        {"no line bytes", WithWord(eight, PCX_LINE_BYTES_AT, 0), ePcxFault::LINE_LENGTH},
        {"line short", WithWord(eight, PCX_LINE_BYTES_AT, 6), ePcxFault::LINE_LENGTH},
        {"line padded past a word", WithWord(eight, PCX_LINE_BYTES_AT, 9), ePcxFault::LINE_LENGTH},
        {"line far too long", WithWord(eight, PCX_LINE_BYTES_AT, 65535), ePcxFault::LINE_LENGTH},
        {"rows missing", WithWord(SolidPcx(7, 1, 1), PCX_YMAX_AT, 7999), ePcxFault::DATA_MISSING},
        {"run without its value", HeaderThen(deep, {0xC1, 0xC1}), ePcxFault::DATA_MISSING},
        // A run overflowing a row is cut at its end, not carried into the next row.
        {"a run for each row", HeaderThen(deep, LongestRuns(5, 0x40)), ePcxFault::NONE},
        {"a run short", HeaderThen(deep, LongestRuns(4, 0x40)), ePcxFault::DATA_MISSING},
        {"no palette", unpaletted, ePcxFault::PALETTE_MISSING},
        {"palette unmarked", WithByte(large, int(large.size()) - PCX_PALETTE_BYTES, 0),
         ePcxFault::PALETTE_MISSING},
        // Bytes between the pixels and the palette are allowed unless one of them is the
        // marker, which the library would take for the palette's start.
        {"gap before the palette", WithGap(large, {0, 0}), ePcxFault::NONE},
        {"stray marker", WithGap(large, {0, 12}), ePcxFault::PALETTE_MISSING},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check(c.file), c.fault) << c.what;
}

TEST(PcxCheck, RefusesEveryTruncationOfAWellFormedPicture)
{
    for (int planes : {1, 3}) {
        const Bytes file = SolidPcx(150, 6, planes);
        for (size_t cut = 0; cut < file.size(); ++cut)
            EXPECT_NE(CheckPcx(file.data(), cut), ePcxFault::NONE)
                << planes << " planes cut at " << cut;
    }
}

TEST(PcxCheck, FileLimitCoversTheWorstEncodingAndIsZeroForARefusedHeader)
{
    // Every byte below 0xC0 may stand alone, but 0xC0 and above take two bytes each.
    const Bytes file = SolidPcx(7, 5, 1);
    EXPECT_EQ(PcxFileLimit(file.data(), file.size()), 128u + 2 * 7 * 5 + PCX_PALETTE_BYTES);
    const Bytes huge = WithCorners(file, 0, 0, 32766, 32766);
    EXPECT_EQ(PcxFileLimit(huge.data(), huge.size()), 0u);
    EXPECT_EQ(PcxFileLimit(file.data(), 127), 0u);
}
} // namespace
