#include "image/cImage.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
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
    image.bitmap = SolidBitmap(3, 1, 0); // put in through the fields
    image.loaded = true;
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
    image.Draw(-5, -5);          // top-left: 5 x 5 inside
    image.Draw(right - 3, 100);  // right edge: 3 x 10
    image.Draw(100, bottom - 2); // bottom edge: 10 x 2
    image.Draw(right + 1, 0);    // wholly outside
    image.Draw(0, -20);          // wholly outside
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

// Drawing by opaque runs must give exactly the pixels of the library's draw_sprite.
class DrawLikeSpriteTest : public testing::Test {
protected:
    HeadlessScreen screen{1024, 600};
    std::mt19937 random{7};

    BITMAP* Frame() { return cGraphics::double_buffer; }

    void FillFrameRandomly()
    {
        for (int y = 0; y < Frame()->h; ++y)
            for (int x = 0; x < Frame()->w; ++x)
                SetPixel(Frame(), x, y, static_cast<uint16_t>(random()));
    }

    // A picture with transparent runs of every length, whole transparent rows and columns,
    // and opaque pixels that differ from the mask colour in a single bit.
    BITMAP* RandomPicture(int width, int height)
    {
        BITMAP* picture = SolidBitmap(width, height, 0);
        const int clear_row = random() % height, clear_column = random() % width;
        bool opaque = random() % 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (random() % 7 == 0)
                    opaque = !opaque;
                uint16_t pixel = static_cast<uint16_t>(random());
                if (random() % 5 == 0)
                    pixel = MASK ^ (1u << (random() % 16));
                const bool clear = !opaque || y == clear_row || x == clear_column;
                SetPixel(picture, x, y, clear ? MASK : (pixel == MASK ? 0 : pixel));
            }
        return picture;
    }

    // Draws the picture through a cImage at (x, y), and with draw_sprite into a copy of the
    // frame as it was; the two frames must agree in every pixel.
    void ExpectSameAsDrawSprite(BITMAP* picture, int x, int y, bool centred)
    {
        BITMAP* expected = create_bitmap_ex(16, Frame()->w, Frame()->h);
        blit(Frame(), expected, 0, 0, 0, 0, Frame()->w, Frame()->h);
        set_clip_rect(expected, Frame()->cl, Frame()->ct, Frame()->cr - 1, Frame()->cb - 1);
        const int left = centred ? x - picture->w / 2 : x, top = centred ? y - picture->h / 2 : y;
        draw_sprite(expected, picture, left, top);

        cImage image;
        image.bitmap = create_bitmap_ex(16, picture->w, picture->h);
        blit(picture, image.bitmap, 0, 0, 0, 0, picture->w, picture->h);
        image.loaded = true;
        image.half_width = picture->w / 2;
        image.half_height = picture->h / 2;
        if (centred)
            image.DrawCentred(x, y);
        else
            image.Draw(x, y);
        int differing = 0;
        for (int py = 0; py < Frame()->h; ++py)
            for (int px = 0; px < Frame()->w; ++px)
                differing += PixelAt(Frame(), px, py) != PixelAt(expected, px, py);
        EXPECT_EQ(differing, 0) << picture->w << "x" << picture->h << " at " << x << "," << y;
        destroy_bitmap(expected);
    }
};

TEST_F(DrawLikeSpriteTest, RandomPicturesAtRandomPlacesIncludingEveryEdge)
{
    for (int round = 0; round < 40; ++round) {
        FillFrameRandomly();
        const int w = 1 + random() % 150, h = 1 + random() % 120;
        BITMAP* picture = RandomPicture(w, h);
        const int x = static_cast<int>(random() % (Frame()->w + 2 * w)) - w - w / 2;
        const int y = static_cast<int>(random() % (Frame()->h + 2 * h)) - h - h / 2;
        ExpectSameAsDrawSprite(picture, x, y, round % 2 == 1);
        destroy_bitmap(picture);
    }
}

TEST_F(DrawLikeSpriteTest, OpaqueAndWhollyTransparentPicturesAndTheFramesOwnClipping)
{
    BITMAP* opaque = SolidBitmap(130, 97, RED);
    BITMAP* clear = SolidBitmap(40, 30, MASK);
    FillFrameRandomly();
    ExpectSameAsDrawSprite(opaque, -7, 560, false);
    ExpectSameAsDrawSprite(clear, 10, 10, false);
    set_clip_rect(Frame(), 100, 50, 299, 149);
    ExpectSameAsDrawSprite(opaque, 40, 20, false);
    ExpectSameAsDrawSprite(opaque, 250, 120, true);
    set_clip_rect(Frame(), 0, 0, Frame()->w - 1, Frame()->h - 1);
    destroy_bitmap(clear);
    destroy_bitmap(opaque);
}

TEST_F(DrawLikeSpriteTest, EveryPictureOfTheGame)
{
    const char* const files[] = {
        "media/building_base.pcx", "media/building_ext.pcx", "media/building_ext2.pcx",
        "media/building_ext3.pcx", "media/grass.pcx",        "media/water.pcx",
        "media/faerie.pcx",        "media/faerie_fire.pcx",  "media/faerie_fire2.pcx",
        "media/faerie_fire3.pcx",  "media/pop_sign.pcx",     "media/menu.pcx",
        "media/title.pcx",         "media/faerieface.pcx",
    };
    for (const char* file : files) {
        cImage loaded(file);
        ASSERT_TRUE(loaded.loaded) << file;
        FillFrameRandomly();
        ExpectSameAsDrawSprite(loaded.bitmap, 300, 200, false);
        ExpectSameAsDrawSprite(loaded.bitmap, 1000, 590, true);
    }
}

// The library's draw_sprite itself overflows there, so the frame is compared with itself.
TEST_F(DrawLikeSpriteTest, FarOffPositionsDrawNothing)
{
    cImage image;
    image.GenerateFractal(0, 64, 64, -2, -2, 4, 4, 20, 0);
    FillFrameRandomly();
    BITMAP* before = create_bitmap_ex(16, Frame()->w, Frame()->h);
    blit(Frame(), before, 0, 0, 0, 0, Frame()->w, Frame()->h);
    for (int far : {INT_MIN, INT_MIN + 10, INT_MAX - 10, INT_MAX}) {
        image.Draw(far, 100);
        image.Draw(100, far);
        image.AndMaskDraw(far, far, 0);
        image.OrMaskDraw(100, far, -1);
    }
    int differing = 0;
    for (int y = 0; y < Frame()->h; ++y)
        for (int x = 0; x < Frame()->w; ++x)
            differing += PixelAt(Frame(), x, y) != PixelAt(before, x, y);
    EXPECT_EQ(differing, 0);
    destroy_bitmap(before);
}

TEST_F(ImageTest, EveryWayOfReplacingThePictureForgetsTheOldShape)
{
    cImage image;
    image.bitmap = SolidBitmap(4, 1, RED); // put in through the fields, with a gap
    image.loaded = true;
    SetPixel(image.bitmap, 1, 0, MASK);
    image.Draw(0, 0);
    EXPECT_EQ(PixelAt(Frame(), 1, 0), 0);

    image.GenerateFractal(0, 4, 1, 0, 0, 1, 1, 2, 0); // no transparent pixel
    image.AndMaskDraw(0, 1, 0);
    EXPECT_EQ(CountPixels(Frame(), 0), Frame()->w * Frame()->h - 3) << "all four darkened";

    PictureFile blue(4, 1, BLUE);
    image.Load(blue.Path());
    image.Draw(0, 2);
    EXPECT_EQ(PixelAt(Frame(), 1, 2), BLUE);

    image.Unload();
    image.bitmap = SolidBitmap(4, 1, MASK); // put in through the fields, as the tests do
    image.loaded = true;
    SetPixel(Frame(), 3, 3, RED);
    image.Draw(0, 3);
    EXPECT_EQ(PixelAt(Frame(), 3, 3), RED);
}
} // namespace
