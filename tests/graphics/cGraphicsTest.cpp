#include "graphics/cGraphics.h"
#include "graphics/WidenPixels.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
const uint16_t BUFFER_BLUE = 0x001F;
const int BAND_ROWS = 84;

void ExpectMode(int mode, int width)
{
    EXPECT_EQ(cGraphics::GetMode(), mode);
    EXPECT_EQ(cGraphics::SCR_WIDTH, width);
    EXPECT_EQ(cGraphics::SCR_HEIGHT, 600);
    ASSERT_NE(cGraphics::double_buffer, nullptr);
    EXPECT_EQ(cGraphics::double_buffer->w, width + 1) << "mode " << mode;
    EXPECT_EQ(cGraphics::double_buffer->h, 601) << "mode " << mode;
}

// The module is process-wide state, so its life is followed in one story: unopened, then
// mode 1, mode 2 with its bands, a rejected switch, and back to mode 1. The widening itself
// is held to the library's levels by the headless tests of PresentChanges.
TEST(GraphicsModule, OpensSwitchesAndPresentsEveryMode)
{
    EXPECT_FALSE(cGraphics::Initialize(3));
    EXPECT_FALSE(cGraphics::Initialize(-1));
    EXPECT_EQ(cGraphics::SCR_WIDTH, 0);
    EXPECT_EQ(cGraphics::GetMode(), 0);
    EXPECT_FALSE(cGraphics::AlreadyInitialized());

    ASSERT_TRUE(cGraphics::Initialize(1));
    EXPECT_TRUE(cGraphics::AlreadyInitialized());
    ExpectMode(1, 800);
    EXPECT_EQ(bitmap_color_depth(cGraphics::double_buffer), 16);
    ASSERT_EQ(bitmap_color_depth(screen), 32) << "a 24-bit display takes the wider screen";
    uint16_t blue = BUFFER_BLUE;
    uint32_t wide_blue = 0;
    WidenPixels(&blue, &wide_blue, 1);
    const int on_screen = static_cast<int>(wide_blue);
    BITMAP* const placeholder = cGraphics::not_loaded;
    ASSERT_NE(placeholder, nullptr);
    clear_to_color(cGraphics::double_buffer, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    EXPECT_EQ(getpixel(screen, 0, 0), on_screen);
    EXPECT_EQ(getpixel(screen, 799, 599), on_screen);

    cGraphics::SetMode(2);
    ExpectMode(2, 1024);
    EXPECT_EQ(cGraphics::not_loaded, placeholder);
    EXPECT_EQ(SCREEN_H, 768);
    clear_to_color(cGraphics::double_buffer, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    for (int x : {0, 511, 1023}) {
        EXPECT_NE(getpixel(screen, x, BAND_ROWS - 1), on_screen) << x;
        EXPECT_EQ(getpixel(screen, x, BAND_ROWS), on_screen) << x;
        EXPECT_EQ(getpixel(screen, x, BAND_ROWS + 599), on_screen) << x;
        EXPECT_NE(getpixel(screen, x, BAND_ROWS + 600), on_screen) << x;
    }
    // The bands are the red-to-yellow fractal: red at full strength, no blue.
    EXPECT_EQ(getr32(getpixel(screen, 300, 10)), 255);
    EXPECT_EQ(getb32(getpixel(screen, 300, 700)), 0);
    EXPECT_EQ(getr32(getpixel(screen, 300, 767)), 255) << "the lower band's last row";
    int alike = 0; // the two bands are two views
    for (int x = 0; x < 1024; ++x)
        alike += getpixel(screen, x, 0) == getpixel(screen, x, BAND_ROWS + 600);
    EXPECT_LT(alike, 1024);
    const int band_pixel = getpixel(screen, 300, 10);

    BITMAP* const wide_buffer = cGraphics::double_buffer;
    cGraphics::SetMode(5);
    EXPECT_EQ(cGraphics::GetMode(), 2);
    EXPECT_EQ(cGraphics::double_buffer, wide_buffer);

    cGraphics::SetMode(1);
    ExpectMode(1, 800);
    EXPECT_EQ(cGraphics::not_loaded, placeholder);

    // Back in the wide mode, the bands again, over a new buffer that starts black rather
    // than with whatever the memory last held.
    cGraphics::SetMode(2);
    for (int y = 0; y < 601; ++y)
        for (int x = 0; x < 1025; ++x)
            ASSERT_EQ(getpixel(cGraphics::double_buffer, x, y), 0) << x << "," << y;
    cGraphics::DrawBuffer();
    EXPECT_EQ(getpixel(screen, 300, 10), band_pixel);

    cGraphics::UnloadModule();
    EXPECT_EQ(cGraphics::double_buffer, nullptr);
    EXPECT_EQ(cGraphics::not_loaded, nullptr);
}
} // namespace
