#include "bitmap/PictureFile.h"
#include "city/cCity.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <sstream>
#include <string>

namespace {
const uint16_t TRANSPARENT = 0xF81F;
const int TILE_WIDTH = cCity::TILE_WIDTH, TILE_HEIGHT = cCity::TILE_HEIGHT,
          STOREY_PIXELS = cCity::STOREY_HEIGHT;

// A picture as the game gets it: loaded from media/ and converted to 16-bit colour.
struct Picture {
    explicit Picture(const std::string& name) : bitmap(LoadPicture(("media/" + name).c_str())) {}

    // Outside the picture counts as transparent.
    bool Opaque(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < bitmap->w && y < bitmap->h &&
               PixelAt(bitmap, x, y) != TRANSPARENT;
    }
    // Whether no pixel of the rectangle is transparent, or (opaque false) none is opaque.
    bool All(bool opaque, int left, int top, int right, int bottom) const
    {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                if (Opaque(x, y) != opaque)
                    return false;
        return true;
    }

    BITMAP* bitmap;
    std::unique_ptr<BITMAP, void (*)(BITMAP*)> owner{bitmap, destroy_bitmap};
};

// PLAIN: anything; OPAQUE: no transparent pixel; GROUND: hides whatever lies behind it in
// its whole tile cell; TILED: a GROUND whose every 32-pixel strip across matches the next,
// because water and grass are laid in rows shifted by 32 pixels; SPRITE: transparent corners
// around an opaque middle.
enum Look { PLAIN, OPAQUE, GROUND, TILED, SPRITE };

bool HasLook(const Picture& picture, Look look)
{
    const int w = picture.bitmap->w, h = picture.bitmap->h;
    if (look == SPRITE)
        return !picture.Opaque(0, 0) && !picture.Opaque(w - 1, 0) && !picture.Opaque(0, h - 1) &&
               !picture.Opaque(w - 1, h - 1) && picture.Opaque(w / 2, h / 2);
    for (int y = 0; look == TILED && y < TILE_HEIGHT; ++y)
        for (int x = 0; x + 32 < TILE_WIDTH; ++x)
            if (PixelAt(picture.bitmap, x, y) != PixelAt(picture.bitmap, x + 32, y))
                return false;
    return look == PLAIN || (look == GROUND || look == TILED
                                 ? picture.All(true, 0, 0, TILE_WIDTH - 1, TILE_HEIGHT - 1)
                                 : picture.All(true, 0, 0, w - 1, h - 1));
}

TEST(MediaPictures, EveryPictureLoadsWithASizeAndLookForItsPlace)
{
    const int ANY = INT_MAX;
    // Widths and heights from what the screen layout leaves room for: the title at most 180
    // high above the menu, whose left edge reaches the cursor at x 280; the face at (500, 200);
    // the sign under the text at (6, 10) and above the energy bar at y 30.
    const struct {
        int min_w, max_w, min_h, max_h;
        Look look;
        const char* names; // of the .pcx files, separated by spaces
    } groups[] = {
        {1, 64, 1, 64, OPAQUE, "NotLoaded"},
        {1, 800, 1, 181, PLAIN, "title"},
        {240, 800, 1, 600, PLAIN, "menu"},
        {1, 300, 1, 400, PLAIN, "faerieface"},
        {164, 800, 16, 27, PLAIN, "pop_sign"},
        {48, 64, 48, 64, SPRITE, "faerie faerie_back faerie_left faerie_right"},
        {16, 24, 16, 24, SPRITE, "faerie_fire"},
        {32, 48, 32, 48, SPRITE, "faerie_fire2 faerie_fire3"},
        {44, 52, 1, 21, SPRITE, "shadow"},
        {14, 18, 6, 10, SPRITE, "small_shadow"},
        {96, 96, 96, 96, SPRITE, "circle96x96"},
        {64, 64, 64, 64, SPRITE, "circle64x64"},
        {TILE_WIDTH, ANY, TILE_HEIGHT, ANY, GROUND,
         "building_base building_base2 building_base3 rubble"},
        {TILE_WIDTH, ANY, TILE_HEIGHT, ANY, TILED, "grass water"},
        {TILE_WIDTH, ANY, STOREY_PIXELS, ANY, PLAIN, "building_ext building_ext2 building_ext3"}};
    for (const auto& p : groups) {
        std::istringstream names(p.names);
        for (std::string name; names >> name;) {
            Picture picture(name += ".pcx");
            ASSERT_NE(nullptr, picture.bitmap) << name;
            const int w = picture.bitmap->w, h = picture.bitmap->h;
            EXPECT_TRUE(w >= p.min_w && w <= p.max_w && h >= p.min_h && h <= p.max_h)
                << name << " is " << w << "x" << h;
            EXPECT_TRUE(HasLook(picture, p.look)) << name << " has not the look its place needs";
        }
    }
}

// Ground image then five storeys each 31 pixels higher, as the city draws them: no
// background may show down the tower's middle between the top roof and the ground.
TEST(MediaPictures, StoreysStackIntoOneUnbrokenTower)
{
    const uint16_t background = 0x0001;
    const int ground_y = 5 * STOREY_PIXELS + 10;
    for (const std::string kind : {"", "2", "3"}) {
        Picture base("building_base" + kind + ".pcx"), storey("building_ext" + kind + ".pcx");
        ASSERT_TRUE(base.bitmap && storey.bitmap) << kind;
        BITMAP* middle = SolidBitmap(1, ground_y + TILE_HEIGHT, background);
        draw_sprite(middle, base.bitmap, -TILE_WIDTH / 2, ground_y);
        for (int k = 1; k <= 5; ++k)
            draw_sprite(middle, storey.bitmap, -TILE_WIDTH / 2, ground_y - STOREY_PIXELS * k);
        const int top = BoxOf(middle, background, false)[1];
        EXPECT_LT(top, ground_y - 4 * STOREY_PIXELS) << "building_ext" << kind << " is too low";
        EXPECT_EQ(top, CountPixels(middle, background)) << "gaps in building_ext" << kind;
        destroy_bitmap(middle);
    }
}

TEST(MediaPictures, SignAndMenuLineUpWithWhatIsDrawnOverThem)
{
    // The sign at (2, 2) lies under all of the 20-character text at (6, 10).
    Picture sign("pop_sign.pcx");
    ASSERT_NE(nullptr, sign.bitmap);
    EXPECT_TRUE(sign.All(true, 6 - 2, 10 - 2, 6 - 2 + 159, 10 - 2 + 7));
    // The menu is centred on (400, 300); the cursor (20 pixels tall) stands at x 280 and y
    // 255 or 325. Each entry shows right of x 300 in its row; the gap between the rows must
    // not look like a third entry.
    Picture menu("menu.pcx");
    ASSERT_NE(nullptr, menu.bitmap);
    const int left = 300 - (400 - menu.bitmap->w / 2), right = menu.bitmap->w - 1;
    const int top = 300 - menu.bitmap->h / 2;
    EXPECT_FALSE(menu.All(false, left, 255 - top + 2, right, 255 - top + 17));
    EXPECT_FALSE(menu.All(false, left, 325 - top + 2, right, 325 - top + 17));
    EXPECT_TRUE(menu.All(false, left, 325 - top - 20, right, 325 - top - 14));
}
} // namespace
