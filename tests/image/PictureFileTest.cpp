#include "image/PictureFile.h"

#include "PcxBytes.h"
#include "image/PcxCheck.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {
BITMAP* Decode(const std::vector<uint8_t>& file) { return DecodePicture(file.data(), file.size()); }

long PeakKilobytes()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A child process's peak memory starts at its size when forked, so its growth over a load
// is what that load cost, whatever the test program held before.
void ExitWithSuccessIfRefusedWithin(const std::string& path, long budget_kilobytes)
{
    const long before = PeakKilobytes();
    BITMAP* picture = LoadPicture(path.c_str());
    const long grown = PeakKilobytes() - before;
    std::exit(picture == nullptr && grown <= budget_kilobytes ? 0 : 1);
}
} // namespace

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

TEST(PictureFile, LoadsPicturesSavedByTheLibraryAtEightAndTwentyFourBits)
{
    const int width = 61, height = 23; // odd, so no row is padded
    PALETTE palette;
    for (int i = 0; i < PAL_SIZE; ++i)
        palette[i] = RGB{uint8_t(i % 64), uint8_t((i * 7) % 64), uint8_t((i * 13) % 64), 0};
    select_palette(palette); // for the library's own reading of 8-bit pixels below
    for (int depth : {8, 24}) {
        BITMAP* saved = create_bitmap_ex(depth, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                putpixel(saved, x, y,
                         depth == 8 ? (x * 5 + y * 11) % PAL_SIZE
                                    : makecol24(x * 4, y * 11, (x + y) * 3));
        const std::string path = testing::TempDir() + "saved" + std::to_string(depth) + ".pcx";
        ASSERT_EQ(save_pcx(path.c_str(), saved, palette), 0);
        BITMAP* read = LoadPicture(path.c_str());
        ASSERT_NE(read, nullptr) << depth;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int c = getpixel(saved, x, y);
                ASSERT_EQ(PixelAt(read, x, y), makecol16(getr_depth(depth, c), getg_depth(depth, c),
                                                         getb_depth(depth, c)))
                    << depth << " bits at " << x << "," << y;
            }
        destroy_bitmap(read);
        destroy_bitmap(saved);
    }
    unselect_palette();
}

TEST(PictureFile, DecodesTheLargestPictureAndRunsThatOverflowARowAsTheCheckExpects)
{
    BITMAP* largest = Decode(SolidPcx(PCX_MAX_SIDE, 2048, 1));
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(largest->w, PCX_MAX_SIDE);
    EXPECT_EQ(largest->h, 2048);
    EXPECT_EQ(PixelAt(largest, 0, 0), SOLID_16);
    EXPECT_EQ(PixelAt(largest, PCX_MAX_SIDE - 1, 2047), SOLID_16);
    destroy_bitmap(largest);

    // Each row of three planes of seven bytes is one run of 63: the excess is dropped.
    BITMAP* runs = Decode(HeaderThen(SolidPcx(7, 5, 3), LongestRuns(5, 0x40)));
    ASSERT_NE(runs, nullptr);
    EXPECT_EQ(CountPixels(runs, makecol16(0x40, 0x40, 0x40)), 7 * 5);
    destroy_bitmap(runs);
}

TEST(PictureFile, RefusesMissingFilesAndFolders)
{
    EXPECT_EQ(LoadPicture("tests/image/pictures/no-such-picture.pcx"), nullptr);
    EXPECT_EQ(LoadPicture("tests/image/pictures"), nullptr);
    EXPECT_EQ(LoadPicture(WriteTempFile("empty.pcx", {}).c_str()), nullptr);
}

// Each file of the regression corpus, and a sparse gigabyte behind a 7x5 header, is refused
// after reading at most its limit, and empties an image that held a picture.
TEST(PictureFile, HostileFilesAreRefusedWithinSmallMemoryAndEmptyAnImage)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("tests/fuzz/corpus"))
        if (entry.path().filename().string().rfind("regression-", 0) == 0)
            files.push_back(entry.path());
    ASSERT_GE(files.size(), 17u);
    files.push_back(WriteTempFile("long.pcx", SolidPcx(7, 5, 3)));
    ASSERT_EQ(truncate(files.back().c_str(), 1L << 30), 0);
    for (const std::string& path : files) {
        EXPECT_EXIT(ExitWithSuccessIfRefusedWithin(path, 4096), testing::ExitedWithCode(0), "")
            << path;
        cImage image("tests/image/pictures/allegro8.pcx");
        ASSERT_TRUE(image.loaded);
        image.Load(path.c_str());
        EXPECT_FALSE(image.loaded) << path;
    }
}
