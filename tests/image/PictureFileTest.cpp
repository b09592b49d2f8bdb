#include "bitmap/PictureFile.h"
#include "bitmap/MemoryFile.h"

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
// A child process's peak memory starts at its size when forked, so its growth over a load
// is what that load cost, whatever the test program held before.
void ExitWithSuccessIfRefusedWithin(const std::string& path, long budget_kilobytes)
{
    rusage before, after;
    getrusage(RUSAGE_SELF, &before);
    BITMAP* picture = LoadPicture(path.c_str());
    getrusage(RUSAGE_SELF, &after);
    std::exit(picture == nullptr && after.ru_maxrss - before.ru_maxrss <= budget_kilobytes ? 0 : 1);
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
            files.push_back(entry.path());
    ASSERT_GE(files.size(), 17u);
    files.push_back(testing::TempDir() + "long.pcx");
    std::filesystem::copy_file("tests/image/pictures/allegro24.pcx", files.back(),
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(truncate(files.back().c_str(), 1L << 30), 0);
    for (const std::string& path : files)
        EXPECT_EXIT(ExitWithSuccessIfRefusedWithin(path, 4096), testing::ExitedWithCode(0), "")
            << path;
}
