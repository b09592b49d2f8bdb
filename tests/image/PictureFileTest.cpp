#include "image/PictureFile.h"

#include "PcxBytes.h"
#include "graphics/cGraphics.h"
#include "image/PcxCheck.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {
const char* const REGRESSION_FOLDER = "tests/fuzz/corpus/";

// Pixels of the 7x5 sample pictures, at 16 bits.
const uint16_t SAMPLE_PINK = 0xF81F, SAMPLE_YELLOW = 0xFFE0, SAMPLE_GREEN = 0x07E0,
               SAMPLE_BLUE = 0x001F;

BITMAP* Decode(const std::vector<uint8_t>& file) { return DecodePicture(file.data(), file.size()); }

std::vector<std::string> RegressionFiles()
{
    std::vector<std::string> paths;
    DIR* folder = opendir(REGRESSION_FOLDER);
    if (!folder)
        return paths;
    while (dirent* entry = readdir(folder))
        if (std::string(entry->d_name).rfind("regression-", 0) == 0)
            paths.push_back(REGRESSION_FOLDER + std::string(entry->d_name));
    closedir(folder);
    return paths;
}

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

TEST(PictureFile, LoadsAllegroAndImageMagickSamplesWithTheirPixels)
{
    for (const char* name : {"allegro8", "allegro24", "magick8", "magick24"}) {
        BITMAP* picture =
            LoadPicture((std::string("tests/image/pictures/") + name + ".pcx").c_str());
        ASSERT_NE(picture, nullptr) << name;
        ASSERT_EQ(bitmap_color_depth(picture), 16);
        ASSERT_EQ(picture->w, 7);
        ASSERT_EQ(picture->h, 5);
        EXPECT_EQ(PixelAt(picture, 0, 0), SAMPLE_PINK) << name;
        EXPECT_EQ(PixelAt(picture, 6, 4), SAMPLE_YELLOW) << name;
        EXPECT_EQ(PixelAt(picture, 3, 2), SAMPLE_GREEN) << name;
        EXPECT_EQ(CountPixels(picture, SAMPLE_BLUE), 7 * 5 - 3) << name;
        destroy_bitmap(picture);
    }
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

TEST(PictureFile, LoadsPicturesSavedByTheLibraryAtEightAndTwentyFourBits)
{
    const int width = 61, height = 23; // odd, so no row is padded
    PALETTE palette;
    for (int i = 0; i < PAL_SIZE; ++i)
        palette[i] = RGB{uint8_t(i % 64), uint8_t((i * 7) % 64), uint8_t((i * 13) % 64), 0};
    BITMAP* eight = create_bitmap_ex(8, width, height);
    BITMAP* deep = create_bitmap_ex(24, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            putpixel(eight, x, y, (x * 5 + y * 11) % PAL_SIZE);
            putpixel(deep, x, y, makecol24(x * 4, y * 11, (x + y) * 3));
        }
    const std::string eight_path = testing::TempDir() + "saved8.pcx";
    const std::string deep_path = testing::TempDir() + "saved24.pcx";
    ASSERT_EQ(save_pcx(eight_path.c_str(), eight, palette), 0);
    ASSERT_EQ(save_pcx(deep_path.c_str(), deep, palette), 0);

    BITMAP* eight_read = LoadPicture(eight_path.c_str());
    BITMAP* deep_read = LoadPicture(deep_path.c_str());
    ASSERT_NE(eight_read, nullptr);
    ASSERT_NE(deep_read, nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const RGB& entry = palette[getpixel(eight, x, y)];
            const int expected_eight =
                makecol16(_rgb_scale_6[entry.r], _rgb_scale_6[entry.g], _rgb_scale_6[entry.b]);
            const int c = getpixel(deep, x, y);
            const int expected_deep = makecol16(getr24(c), getg24(c), getb24(c));
            ASSERT_EQ(PixelAt(eight_read, x, y), expected_eight) << x << "," << y;
            ASSERT_EQ(PixelAt(deep_read, x, y), expected_deep) << x << "," << y;
        }
    for (BITMAP* bitmap : {eight, deep, eight_read, deep_read})
        destroy_bitmap(bitmap);
}

TEST(PictureFile, LoadsTheLargestAllowedPicture)
{
    BITMAP* picture = Decode(SolidPcx(PCX_MAX_SIDE, 2048, 1));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->w, PCX_MAX_SIDE);
    EXPECT_EQ(picture->h, 2048);
    EXPECT_EQ(PixelAt(picture, 0, 0), SOLID_16);
    EXPECT_EQ(PixelAt(picture, PCX_MAX_SIDE - 1, 2047), SOLID_16);
    destroy_bitmap(picture);
}

TEST(PictureFile, DecodesRunsThatOverflowARowAsTheCheckExpects)
{
    std::vector<uint8_t> file = SolidPcx(7, 5, 1);
    const std::vector<uint8_t> palette(file.end() - PCX_PALETTE_BYTES, file.end());
    file.resize(128);
    for (int row = 0; row < 5; ++row) {
        file.push_back(0xFF); // 63 bytes of entry 1 into a row of 7
        file.push_back(1);
    }
    file.insert(file.end(), palette.begin(), palette.end());
    BITMAP* picture = Decode(file);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(CountPixels(picture, SOLID_16), 7 * 5);
    destroy_bitmap(picture);
}

TEST(PictureFile, RefusesMissingFilesAndFolders)
{
    EXPECT_EQ(LoadPicture("tests/image/pictures/no-such-picture.pcx"), nullptr);
    EXPECT_EQ(LoadPicture("tests/image/pictures"), nullptr);
    EXPECT_EQ(LoadPicture(WriteTempFile("empty.pcx", {}).c_str()), nullptr);
}

TEST(PictureFile, RefusesAFileLongerThanItsHeaderAllowsWithoutReadingItAll)
{
    // A sparse gigabyte behind a 7x5 header: refused after reading at most its limit.
    const std::string path = WriteTempFile("long.pcx", SolidPcx(7, 5, 3));
    ASSERT_EQ(truncate(path.c_str(), 1L << 30), 0);
    EXPECT_EXIT(ExitWithSuccessIfRefusedWithin(path, 4096), testing::ExitedWithCode(0), "");
}

TEST(PictureFile, HostileFilesAreRefusedWithinSmallMemory)
{
    const std::vector<std::string> files = RegressionFiles();
    ASSERT_GE(files.size(), 17u);
    for (const std::string& path : files)
        EXPECT_EXIT(ExitWithSuccessIfRefusedWithin(path, 4096), testing::ExitedWithCode(0), "")
            << path;
}

TEST(PictureFile, AnImageWhoseFileIsRefusedStaysEmptyAndDrawsThePlaceholder)
{
    HeadlessScreen screen;
    const uint16_t placeholder = HeadlessScreen::PLACEHOLDER;
    const std::vector<std::string> files = RegressionFiles();
    ASSERT_GE(files.size(), 17u);
    for (const std::string& path : files) {
        cImage* image = new cImage("tests/image/pictures/allegro8.pcx");
        ASSERT_TRUE(image->loaded);
        image->Load(path.c_str());
        EXPECT_FALSE(image->loaded) << path;
        image->DrawCentred(20, 30);
        EXPECT_EQ(PixelAt(cGraphics::double_buffer, 20, 30), placeholder) << path;
        delete image;
    }
}
