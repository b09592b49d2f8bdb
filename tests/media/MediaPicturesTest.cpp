#include "image/PictureFile.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const uint16_t TRANSPARENT = 0xF81F;
const int TILE_WIDTH = 128, TILE_HEIGHT = 96, STOREY_PIXELS = 31;

// A picture as the game gets it: loaded from media/ and converted to 16-bit colour.
class Picture {
  public:
    explicit Picture(const std::string& name) : bitmap(LoadPicture(("media/" + name).c_str())) {}
    ~Picture() {
        if (bitmap)
            destroy_bitmap(bitmap);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Opaque(int x, int y) const { return PixelAt(bitmap, x, y) != TRANSPARENT; }
    bool CornersTransparent() const {
        return !Opaque(0, 0) && !Opaque(bitmap->w - 1, 0) && !Opaque(0, bitmap->h - 1) &&
               !Opaque(bitmap->w - 1, bitmap->h - 1);
    }
    bool AnyOpaqueInRows(int top, int bottom, int left) const {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x < bitmap->w; ++x)
                if (Opaque(x, y))
                    return true;
        return false;
    }

    BITMAP* bitmap;
};

const char* const GROUND[] = {"building_base.pcx", "building_base2.pcx", "building_base3.pcx",
                              "grass.pcx",         "rubble.pcx",         "water.pcx"};
const char* const STOREYS[] = {"building_ext.pcx", "building_ext2.pcx", "building_ext3.pcx"};
} // namespace

TEST(MediaPictures, EveryPictureLoadsAt16BitColour) {
    const char* const names[] = {
        "NotLoaded.pcx",     "faerieface.pcx",     "title.pcx",          "menu.pcx",
        "faerie_fire.pcx",   "faerie_fire2.pcx",   "faerie_fire3.pcx",   "faerie.pcx",
        "faerie_back.pcx",   "faerie_left.pcx",    "faerie_right.pcx",   "shadow.pcx",
        "small_shadow.pcx",  "circle96x96.pcx",    "circle64x64.pcx",    "pop_sign.pcx",
        "building_base.pcx", "building_base2.pcx", "building_base3.pcx", "grass.pcx",
        "rubble.pcx",        "water.pcx",          "building_ext.pcx",   "building_ext2.pcx",
        "building_ext3.pcx"};
    for (const char* name : names) {
        Picture picture(name);
        ASSERT_NE(picture.bitmap, nullptr) << name;
        EXPECT_EQ(bitmap_color_depth(picture.bitmap), 16) << name;
    }
}

TEST(MediaPictures, GroundTilesAreOpaqueOverTheirWholeCell) {
    for (const char* name : GROUND) {
        Picture tile(name);
        ASSERT_NE(tile.bitmap, nullptr) << name;
        ASSERT_GE(tile.bitmap->w, TILE_WIDTH) << name;
        ASSERT_GE(tile.bitmap->h, TILE_HEIGHT) << name;
        int holes = 0;
        for (int y = 0; y < TILE_HEIGHT; ++y)
            for (int x = 0; x < TILE_WIDTH; ++x)
                holes += !tile.Opaque(x, y);
        EXPECT_EQ(holes, 0) << name;
    }
}

// Water and grass are laid in rows shifted by 32 pixels, so their left 32 columns must
// continue their right edge and every 32-pixel strip must match the next.
TEST(MediaPictures, WaterAndGrassRepeatEvery32PixelsAcross) {
    for (const char* name : {"water.pcx", "grass.pcx"}) {
        Picture tile(name);
        ASSERT_NE(tile.bitmap, nullptr);
        int differences = 0;
        for (int y = 0; y < TILE_HEIGHT; ++y)
            for (int x = 0; x + 32 < TILE_WIDTH; ++x)
                differences += PixelAt(tile.bitmap, x, y) != PixelAt(tile.bitmap, x + 32, y);
        EXPECT_EQ(differences, 0) << name;
    }
}

// Ground image then five storeys each 31 pixels higher, as the city draws them: no
// background may show between the top roof and the ground.
TEST(MediaPictures, StoreysStackIntoOneUnbrokenTower) {
    const uint16_t background = 0x0001;
    for (int kind = 0; kind < 3; ++kind) {
        Picture base(GROUND[kind]);
        Picture storey(STOREYS[kind]);
        ASSERT_NE(storey.bitmap, nullptr);
        const int ground_y = 5 * STOREY_PIXELS + 10;
        BITMAP* frame = SolidBitmap(TILE_WIDTH, ground_y + TILE_HEIGHT, background);
        draw_sprite(frame, base.bitmap, 0, ground_y);
        for (int k = 1; k <= 5; ++k)
            draw_sprite(frame, storey.bitmap, 0, ground_y - STOREY_PIXELS * k);
        const int middle = TILE_WIDTH / 2;
        int top = 0;
        while (top < frame->h && PixelAt(frame, middle, top) == background)
            ++top;
        EXPECT_LT(top, ground_y - 4 * STOREY_PIXELS) << STOREYS[kind] << " is too low";
        int gaps = 0;
        for (int y = top; y < frame->h; ++y)
            gaps += PixelAt(frame, middle, y) == background;
        EXPECT_EQ(gaps, 0) << STOREYS[kind];
        destroy_bitmap(frame);
    }
}

TEST(MediaPictures, SpritesHaveTransparentSurroundingsAndFitTheirUse) {
    struct Expect {
        const char* name;
        int min_size, max_size;
    } const sprites[] = {
        {"faerie.pcx", 48, 64},       {"faerie_back.pcx", 48, 64}, {"faerie_left.pcx", 48, 64},
        {"faerie_right.pcx", 48, 64}, {"faerie_fire.pcx", 16, 24}, {"faerie_fire2.pcx", 32, 48},
        {"faerie_fire3.pcx", 32, 48},
    };
    for (const Expect& sprite : sprites) {
        Picture picture(sprite.name);
        ASSERT_NE(picture.bitmap, nullptr) << sprite.name;
        EXPECT_TRUE(picture.CornersTransparent()) << sprite.name;
        EXPECT_TRUE(picture.Opaque(picture.bitmap->w / 2, picture.bitmap->h / 2)) << sprite.name;
        for (int size : {picture.bitmap->w, picture.bitmap->h}) {
            EXPECT_GE(size, sprite.min_size) << sprite.name;
            EXPECT_LE(size, sprite.max_size) << sprite.name;
        }
    }
}

TEST(MediaPictures, ShadowsAreSmallFlatOvals) {
    Picture shadow("shadow.pcx");
    Picture small("small_shadow.pcx");
    ASSERT_NE(shadow.bitmap, nullptr);
    ASSERT_NE(small.bitmap, nullptr);
    EXPECT_NEAR(shadow.bitmap->w, 48, 4);
    EXPECT_LT(shadow.bitmap->h, shadow.bitmap->w / 2);
    EXPECT_NEAR(small.bitmap->w, 16, 2);
    EXPECT_NEAR(small.bitmap->h, 8, 2);
    for (Picture* picture : {&shadow, &small}) {
        EXPECT_TRUE(picture->CornersTransparent());
        EXPECT_TRUE(picture->Opaque(picture->bitmap->w / 2, picture->bitmap->h / 2));
    }
}

TEST(MediaPictures, CirclesAreExactSymmetricDiscs) {
    for (int size : {96, 64}) {
        std::string name = "circle" + std::to_string(size) + "x" + std::to_string(size) + ".pcx";
        Picture circle(name);
        ASSERT_NE(circle.bitmap, nullptr) << name;
        ASSERT_EQ(circle.bitmap->w, size);
        ASSERT_EQ(circle.bitmap->h, size);
        EXPECT_TRUE(circle.CornersTransparent()) << name;
        int asymmetric = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                asymmetric += circle.Opaque(x, y) != circle.Opaque(size - 1 - x, y) ||
                              circle.Opaque(x, y) != circle.Opaque(y, x);
        EXPECT_EQ(asymmetric, 0) << name;
        // The disc touches all four edges: the middle row and column are solid.
        for (int i = 0; i < size; ++i) {
            EXPECT_TRUE(circle.Opaque(i, size / 2)) << name << " row at " << i;
            EXPECT_TRUE(circle.Opaque(size / 2, i)) << name << " column at " << i;
        }
    }
}

// The sign is drawn at (2, 2), the 20-character text at (6, 10) over it, the energy bar
// from y 30 down.
TEST(MediaPictures, PopulationSignLiesUnderTheTextAndAboveTheEnergyBar) {
    Picture sign("pop_sign.pcx");
    ASSERT_NE(sign.bitmap, nullptr);
    const int sign_x = 2, sign_y = 2, text_x = 6, text_y = 10, text_width = 160;
    EXPECT_LT(sign_y + sign.bitmap->h - 1, 30);
    ASSERT_GE(sign.bitmap->w, text_x - sign_x + text_width);
    for (int y = text_y; y < text_y + 8; ++y)
        for (int x = text_x; x < text_x + text_width; ++x)
            ASSERT_TRUE(sign.Opaque(x - sign_x, y - sign_y)) << x << "," << y;
}

TEST(MediaPictures, TitlePicturesFitTheTitleScreen) {
    Picture title("title.pcx");
    Picture face("faerieface.pcx");
    ASSERT_NE(title.bitmap, nullptr);
    ASSERT_NE(face.bitmap, nullptr);
    EXPECT_LE(title.bitmap->w, 800);
    EXPECT_LE(title.bitmap->h / 2, 90);
    EXPECT_LE(500 + face.bitmap->w, 800);
    EXPECT_LE(200 + face.bitmap->h, 600);
    Picture placeholder("NotLoaded.pcx");
    ASSERT_NE(placeholder.bitmap, nullptr);
    EXPECT_LE(placeholder.bitmap->w, 64);
    EXPECT_EQ(CountPixels(placeholder.bitmap, TRANSPARENT), 0);
}

// The menu is centred on (400, 300); the cursor (20 pixels tall) stands at x 280 and y 255
// or 325. Each entry must show right of the cursor in its row, and nothing in the gap
// between the rows may look like a third entry.
TEST(MediaPictures, MenuEntriesStandLevelWithTheCursorRows) {
    Picture menu("menu.pcx");
    ASSERT_NE(menu.bitmap, nullptr);
    const int left = 400 - menu.bitmap->w / 2, top = 300 - menu.bitmap->h / 2;
    const int text_left = 300 - left;
    ASSERT_GE(top, 0);
    EXPECT_TRUE(menu.AnyOpaqueInRows(255 - top + 2, 255 - top + 17, text_left));
    EXPECT_TRUE(menu.AnyOpaqueInRows(325 - top + 2, 325 - top + 17, text_left));
    EXPECT_FALSE(menu.AnyOpaqueInRows(325 - top - 20, 325 - top - 14, text_left));
    EXPECT_LE(left, 280);
}
