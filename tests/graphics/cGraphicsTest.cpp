#include "graphics/cGraphics.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
const int BUFFER_BLUE = 0x001F;
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
// mode 1, mode 2 with its bands, a rejected switch, and back to mode 1.
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
    BITMAP* const placeholder = cGraphics::not_loaded;
    ASSERT_NE(placeholder, nullptr);

    clear_to_color(cGraphics::double_buffer, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    EXPECT_EQ(getpixel(screen, 0, 0), BUFFER_BLUE);
    EXPECT_EQ(getpixel(screen, 799, 599), BUFFER_BLUE);
    // Later frames write only what changed, and the screen still shows the whole frame.
    putpixel(cGraphics::double_buffer, 400, 300, 0);
    cGraphics::DrawBuffer();
    EXPECT_EQ(getpixel(screen, 400, 300), 0);
    EXPECT_EQ(getpixel(screen, 401, 300), BUFFER_BLUE);
    putpixel(cGraphics::double_buffer, 400, 300, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    EXPECT_EQ(getpixel(screen, 400, 300), BUFFER_BLUE);

    cGraphics::SetMode(2);
    ExpectMode(2, 1024);
    EXPECT_EQ(cGraphics::not_loaded, placeholder);
    EXPECT_EQ(SCREEN_H, 768);
    clear_to_color(cGraphics::double_buffer, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    for (int x : {0, 511, 1023}) {
        EXPECT_NE(getpixel(screen, x, BAND_ROWS - 1), BUFFER_BLUE) << x;
        EXPECT_EQ(getpixel(screen, x, BAND_ROWS), BUFFER_BLUE) << x;
        EXPECT_EQ(getpixel(screen, x, BAND_ROWS + 599), BUFFER_BLUE) << x;
        EXPECT_NE(getpixel(screen, x, BAND_ROWS + 600), BUFFER_BLUE) << x;
    }
    // The bands are the red-to-yellow fractal: red at full strength, no blue.
    EXPECT_EQ(getr(getpixel(screen, 300, 10)), 255);
    EXPECT_EQ(getb(getpixel(screen, 300, 700)), 0);
    BITMAP* const bands = create_bitmap(1024, 768);
    blit(screen, bands, 0, 0, 0, 0, 1024, 768);

    BITMAP* const wide_buffer = cGraphics::double_buffer;
    cGraphics::SetMode(5);
    EXPECT_EQ(cGraphics::GetMode(), 2);
    EXPECT_EQ(cGraphics::double_buffer, wide_buffer);

    cGraphics::SetMode(1);
    ExpectMode(1, 800);
    EXPECT_EQ(cGraphics::not_loaded, placeholder);

    // Back in the wide mode, the same bands again, over a new buffer that starts black
    // rather than with whatever the memory last held.
    cGraphics::SetMode(2);
    for (int y = 0; y < 601; ++y)
        for (int x = 0; x < 1025; ++x)
            ASSERT_EQ(getpixel(cGraphics::double_buffer, x, y), 0) << x << "," << y;
    clear_to_color(cGraphics::double_buffer, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    for (int y : {0, BAND_ROWS - 1, BAND_ROWS + 600, 767})
        for (int x = 0; x < 1024; ++x)
            ASSERT_EQ(getpixel(screen, x, y), getpixel(bands, x, y)) << x << "," << y;
    destroy_bitmap(bands);

    clear_bitmap(cGraphics::double_buffer);
    cGraphics::DrawText(0, 0, 255, 255, 255, "X");
    EXPECT_GT(getpixel(cGraphics::double_buffer, 2, 2) | getpixel(cGraphics::double_buffer, 3, 3),
              0);
    cGraphics::UnloadModule();
    EXPECT_EQ(cGraphics::double_buffer, nullptr);
    EXPECT_EQ(cGraphics::not_loaded, nullptr);
}
} // namespace
