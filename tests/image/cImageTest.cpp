#include "image/cImage.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>

namespace {
const uint16_t MASK = 0xF81F;
const uint16_t RED = 0xF800;
const uint16_t BLUE = 0x001F;

BITMAP* Frame() { return cGraphics::double_buffer; }

// 7x5 samples of mask colour at (0, 0), yellow at (6, 4), green at (3, 2) and blue elsewhere.
const char* const SAMPLE_8 = "tests/image/pictures/allegro8.pcx";
const char* const SAMPLE_24 = "tests/image/pictures/allegro24.pcx";
const char* const BLEND = "tests/image/pictures/blend8.pcx"; // 45 x 30

class ImageTest : public testing::Test {
protected:
    HeadlessScreen screen;
};

TEST_F(ImageTest, EmptyAndUnreadableImagesDrawThePlaceholderAtTheCornerFromBothDraws)
{
    cImage empty, missing("media/no-such-picture.pcx");
    for (cImage* image : {&empty, &missing}) {
        clear_bitmap(Frame());
        EXPECT_FALSE(image->loaded);
        image->Draw(10, 20);
        image->DrawCentred(100, 200);
        for (int corner_x : {10, 100}) {
            const int corner_y = corner_x * 2;
            EXPECT_EQ(PixelAt(Frame(), corner_x, corner_y), HeadlessScreen::PLACEHOLDER);
            EXPECT_EQ(PixelAt(Frame(), corner_x + 3, corner_y + 3), HeadlessScreen::PLACEHOLDER);
            EXPECT_EQ(PixelAt(Frame(), corner_x - 1, corner_y), 0);
            EXPECT_EQ(PixelAt(Frame(), corner_x + 4, corner_y), 0);
        }
    }
}

TEST_F(ImageTest, LoadsAtSixteenBitsAndCentresOddSizesOnTheSmallerHalf)
{
    cImage image(SAMPLE_8);
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(bitmap_color_depth(image.bitmap), 16);
    EXPECT_EQ(image.bitmap->w, 7);
    EXPECT_EQ(image.bitmap->h, 5);
    EXPECT_EQ(image.half_width, 3);
    EXPECT_EQ(image.half_height, 2);
    image.DrawCentred(100, 100); // from (97, 98) to (103, 102)
    EXPECT_EQ(PixelAt(Frame(), 100, 100), 0x07E0);
    EXPECT_EQ(PixelAt(Frame(), 103, 102), 0xFFE0);
    EXPECT_EQ(CountPixels(Frame(), BLUE), 7 * 5 - 3);
}

TEST_F(ImageTest, LoadReplacesUnloadReleasesOnceAndAnUnreadableLoadEmpties)
{
    cImage image(BLEND);
    image.Load(SAMPLE_8); // the first picture is released first
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.bitmap->w, 7);
    image.Unload();
    EXPECT_FALSE(image.loaded);
    image.Unload(); // nothing left to release; the destructor releases nothing either
    image.Draw(0, 0);
    EXPECT_EQ(PixelAt(Frame(), 0, 0), HeadlessScreen::PLACEHOLDER);
    image.Load(BLEND);
    EXPECT_TRUE(image.loaded);
    EXPECT_EQ(image.bitmap->w, 45);
    image.Load("/nonexistent/picture.pcx");
    EXPECT_FALSE(image.loaded);
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
    SetPixel(Frame(), 1, 1, RED);
    image.AndMaskDraw(0, 1, 0);
    EXPECT_EQ(PixelAt(Frame(), 1, 1), 0);

    image.Load(SAMPLE_24);
    image.Draw(0, 2);
    EXPECT_EQ(PixelAt(Frame(), 1, 2), BLUE);

    image.Unload();
    image.bitmap = SolidBitmap(4, 1, MASK); // put in through the fields, as the tests do
    image.loaded = true;
    SetPixel(Frame(), 3, 3, RED);
    image.Draw(0, 3);
    EXPECT_EQ(PixelAt(Frame(), 3, 3), RED);
}

// Drawing by opaque runs must give exactly the pixels of the library's draw_sprite.
class DrawLikeSpriteTest : public testing::Test {
protected:
    HeadlessScreen screen{1024, 600};
    std::mt19937 random{7};

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

    // Draws a copy of the picture through a cImage at (x, y), and with draw_sprite into a
    // copy of the frame as it was, clipped alike; the two frames must agree in every pixel.
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
        EXPECT_EQ(DifferingPixels(Frame(), expected), 0)
            << picture->w << "x" << picture->h << " at " << x << "," << y;
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

TEST_F(DrawLikeSpriteTest, OpaqueAndClearPicturesClippedByEveryEdgeAndTheFramesOwnClipRectangle)
{
    BITMAP* opaque = SolidBitmap(130, 97, RED);
    BITMAP* clear = SolidBitmap(40, 30, MASK);
    FillFrameRandomly();
    ExpectSameAsDrawSprite(opaque, -7, 560, false);   // over the left and bottom edges
    ExpectSameAsDrawSprite(opaque, 1000, -20, false); // over the right and top edges
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
    for (const auto& entry : std::filesystem::directory_iterator("media")) {
        if (entry.path().extension() != ".pcx")
            continue;
        cImage loaded(entry.path().c_str());
        ASSERT_TRUE(loaded.loaded) << entry.path();
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
    EXPECT_EQ(DifferingPixels(Frame(), before), 0);
    destroy_bitmap(before);
}
} // namespace
