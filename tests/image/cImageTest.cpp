#include "image/cImage.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <utility>

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

// Every way of drawing puts the placeholder's top-left corner on the point, whatever the mask.
TEST_F(ImageTest, EmptyAndUnreadableImagesDrawThePlaceholderAtThePoint)
{
    cImage empty, missing("media/no-such-picture.pcx");
    for (cImage* image : {&empty, &missing}) {
        clear_bitmap(Frame());
        EXPECT_FALSE(image->loaded);
        image->Draw(10, 20);
        image->DrawCentred(100, 200);
        image->AndMaskDraw(300, 20, 0);
        image->OrMaskDraw(400, 200, -1);
        const int size = HeadlessScreen::PLACEHOLDER_SIZE;
        EXPECT_EQ(CountPixels(Frame(), HeadlessScreen::PLACEHOLDER), 4 * size * size);
        for (auto [x, y] : {std::pair{10, 20}, {100, 200}, {300, 20}, {400, 200}}) {
            EXPECT_EQ(PixelAt(Frame(), x, y), HeadlessScreen::PLACEHOLDER) << x;
            EXPECT_EQ(PixelAt(Frame(), x + size - 1, y + size - 1), HeadlessScreen::PLACEHOLDER);
        }
    }
}

TEST_F(ImageTest, CentresOddSizesOnTheSmallerHalfAndSkipsTheMaskColour)
{
    cImage image(SAMPLE_8);
    ASSERT_TRUE(image.loaded);
    image.DrawCentred(100, 100); // from (97, 98) to (103, 102)
    EXPECT_EQ(PixelAt(Frame(), 100, 100), 0x07E0);
    EXPECT_EQ(PixelAt(Frame(), 103, 102), 0xFFE0);
    EXPECT_EQ(PixelAt(Frame(), 97, 98), 0);
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
    image.Load(BLEND);
    EXPECT_EQ(image.bitmap->w, 45);
    image.Load("/nonexistent/picture.pcx");
    EXPECT_FALSE(image.loaded);

    // A picture put in through the fields after Unload is drawn by its own shape.
    image.Load(SAMPLE_24);
    Paint(&image, 4, 1, MASK); // unloads, then fills the fields
    SetPixel(Frame(), 3, 0, RED);
    image.Draw(0, 0);
    EXPECT_EQ(PixelAt(Frame(), 3, 0), RED);
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
    void PaintRandomly(cImage* image, int width, int height)
    {
        Paint(image, width, height, 0);
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
                SetPixel(image->bitmap, x, y, clear ? MASK : (pixel == MASK ? 0 : pixel));
            }
    }

    // Draws the image at (x, y), and its picture with draw_sprite into a copy of the frame
    // as it was, clipped alike; the two frames must agree in every pixel.
    void ExpectSameAsDrawSprite(cImage& image, int x, int y, bool centred)
    {
        BITMAP* expected = create_bitmap_ex(16, Frame()->w, Frame()->h);
        blit(Frame(), expected, 0, 0, 0, 0, Frame()->w, Frame()->h);
        set_clip_rect(expected, Frame()->cl, Frame()->ct, Frame()->cr - 1, Frame()->cb - 1);
        BITMAP* picture = image.bitmap;
        draw_sprite(expected, picture, centred ? x - picture->w / 2 : x,
                    centred ? y - picture->h / 2 : y);
        centred ? image.DrawCentred(x, y) : image.Draw(x, y);
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
        cImage image;
        PaintRandomly(&image, w, h);
        const int x = static_cast<int>(random() % (Frame()->w + 2 * w)) - w - w / 2;
        const int y = static_cast<int>(random() % (Frame()->h + 2 * h)) - h - h / 2;
        ExpectSameAsDrawSprite(image, x, y, round % 2 == 1);
    }
}

TEST_F(DrawLikeSpriteTest, EveryPictureOfTheGame)
{
    for (const auto& entry : std::filesystem::directory_iterator("media")) {
        if (entry.path().extension() != ".pcx")
            continue;
        cImage loaded(entry.path().c_str());
        ASSERT_TRUE(loaded.loaded) << entry.path();
        FillFrameRandomly();
        ExpectSameAsDrawSprite(loaded, 300, 200, false);
        ExpectSameAsDrawSprite(loaded, 1000, 590, true);
    }
}

// The library's draw_sprite itself overflows there, so nothing is compared with it.
TEST_F(DrawLikeSpriteTest, FarOffPositionsDrawNothing)
{
    cImage image; // red to yellow: no blue in it
    image.GenerateFractal(0, 64, 64, -2, -2, 4, 4, 20, 0);
    clear_to_color(Frame(), BLUE);
    for (int far : {INT_MIN, INT_MIN + 10, INT_MAX - 10, INT_MAX}) {
        image.Draw(far, 100);
        image.Draw(100, far);
        image.AndMaskDraw(far, far, 0);
        image.OrMaskDraw(100, far, -1);
    }
    EXPECT_EQ(CountPixels(Frame(), BLUE), Frame()->w * Frame()->h);
}
} // namespace
