#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
const uint16_t MASK = 0xF81F;
const uint16_t RED = 0xF800;
const uint16_t BLUE = 0x001F;

// A picture file written for the test and removed afterwards.
class PictureFile {
public:
    PictureFile(int width, int height, uint16_t fill)
        : path("/tmp/emberwing-image-test-" + std::to_string(getpid()) + "-" +
               std::to_string(counter++) + ".pcx")
    {
        BITMAP* picture = SolidBitmap(width, height, fill);
        save_pcx(path.c_str(), picture, nullptr);
        destroy_bitmap(picture);
    }
    ~PictureFile() { std::remove(path.c_str()); }
    const char* Path() const { return path.c_str(); }

private:
    static int counter;
    std::string path;
};
int PictureFile::counter = 0;

class ImageTest : public testing::Test {
protected:
    HeadlessScreen screen;
    BITMAP* Frame() { return cGraphics::double_buffer; }
};

TEST_F(ImageTest, EmptyImageDrawsThePlaceholderAtTheCornerFromBothDraws)
{
    cImage empty;
    EXPECT_FALSE(empty.loaded);
    empty.Draw(10, 20);
    empty.DrawCentred(100, 200);
    for (int corner_x : {10, 100}) {
        const int corner_y = corner_x * 2;
        EXPECT_EQ(PixelAt(Frame(), corner_x, corner_y), HeadlessScreen::PLACEHOLDER);
        EXPECT_EQ(PixelAt(Frame(), corner_x + 3, corner_y + 3), HeadlessScreen::PLACEHOLDER);
        EXPECT_EQ(PixelAt(Frame(), corner_x - 1, corner_y), 0);
        EXPECT_EQ(PixelAt(Frame(), corner_x + 4, corner_y), 0);
    }
}

TEST_F(ImageTest, MissingFileLeavesTheImageEmptyAndDrawsThePlaceholder)
{
    cImage missing("media/no-such-picture.pcx");
    EXPECT_FALSE(missing.loaded);
    missing.DrawCentred(50, 60);
    EXPECT_EQ(PixelAt(Frame(), 50, 60), HeadlessScreen::PLACEHOLDER);
}

TEST_F(ImageTest, LoadsAPictureAtSixteenBitsWithItsHalfSizes)
{
    PictureFile file(7, 5, RED);
    cImage image(file.Path());
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(bitmap_color_depth(image.bitmap), 16);
    EXPECT_EQ(image.bitmap->w, 7);
    EXPECT_EQ(image.bitmap->h, 5);
    EXPECT_EQ(image.half_width, 3);
    EXPECT_EQ(image.half_height, 2);
    EXPECT_EQ(PixelAt(image.bitmap, 6, 4), RED);
}

TEST_F(ImageTest, OddSizesCentreOnTheSmallerHalf)
{
    PictureFile file(7, 5, RED);
    cImage image(file.Path());
    image.DrawCentred(100, 100);
    EXPECT_EQ(PixelAt(Frame(), 97, 98), RED);
    EXPECT_EQ(PixelAt(Frame(), 103, 102), RED);
    EXPECT_EQ(PixelAt(Frame(), 96, 98), 0);
    EXPECT_EQ(PixelAt(Frame(), 97, 97), 0);
    EXPECT_EQ(CountPixels(Frame(), RED), 35);
}

TEST_F(ImageTest, MaskColourIsTransparentAndEveryOtherValueIsDrawn)
{
    cImage image;
    image.GenerateFractal(0, 3, 1, 0, 0, 1, 1, 1, 0); // any 3x1 picture, then overwritten
    ASSERT_TRUE(image.loaded);
    SetPixel(image.bitmap, 0, 0, MASK);
    SetPixel(image.bitmap, 1, 0, MASK ^ 0x0001); // one bit away from the mask colour
    SetPixel(image.bitmap, 2, 0, MASK ^ 0x8000);
    SetPixel(Frame(), 10, 10, BLUE);
    image.Draw(10, 10);
    EXPECT_EQ(PixelAt(Frame(), 10, 10), BLUE);
    EXPECT_EQ(PixelAt(Frame(), 11, 10), MASK ^ 0x0001);
    EXPECT_EQ(PixelAt(Frame(), 12, 10), MASK ^ 0x8000);
}

TEST_F(ImageTest, DrawingIsClippedToTheBufferAtEveryEdge)
{
    PictureFile file(10, 10, RED);
    cImage image(file.Path());
    const int right = cGraphics::double_buffer->w, bottom = cGraphics::double_buffer->h;
    image.Draw(-5, -5);           // top-left: 5 x 5 inside
    image.Draw(right - 3, 100);   // right edge: 3 x 10
    image.Draw(100, bottom - 2);  // bottom edge: 10 x 2
    image.Draw(right + 1, 0);     // wholly outside
    image.Draw(0, -20);           // wholly outside
    EXPECT_EQ(CountPixels(Frame(), RED), 25 + 30 + 20);
    EXPECT_EQ(PixelAt(Frame(), right - 1, 109), RED); // the never-presented column is drawn
}

TEST_F(ImageTest, LoadReplacesAndUnloadReleasesOnce)
{
    PictureFile red(4, 4, RED), blue(2, 3, BLUE);
    cImage image(red.Path());
    image.Load(blue.Path()); // the red picture is released first
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.bitmap->w, 2);
    EXPECT_EQ(PixelAt(image.bitmap, 0, 0), BLUE);
    image.Load(blue.Path());
    image.Unload();
    EXPECT_FALSE(image.loaded);
    image.Unload(); // nothing left to release; the destructor releases nothing either
    image.Draw(0, 0);
    EXPECT_EQ(PixelAt(Frame(), 0, 0), HeadlessScreen::PLACEHOLDER);
    image.Load(red.Path());
    EXPECT_TRUE(image.loaded);
}

TEST_F(ImageTest, LoadOfAnUnreadableFileEmptiesALoadedImage)
{
    PictureFile red(4, 4, RED);
    cImage image(red.Path());
    image.Load("/nonexistent/picture.pcx");
    EXPECT_FALSE(image.loaded);
}
} // namespace
