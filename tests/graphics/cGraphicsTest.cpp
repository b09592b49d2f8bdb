#include "graphics/cGraphics.h"
#include "graphics/WidenPixels.h"
#include "platform/ScreenRows.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

// After the test framework, whose names Xlib's macros (None, Bool) would otherwise rewrite.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xalleg.h>

namespace {
const uint16_t BUFFER_BLUE = 0x001F;
const int BAND_ROWS = 84;

int OnScreen(uint16_t pixel)
{
    uint32_t wide = 0;
    WidenPixels(&pixel, &wide, 1);
    return static_cast<int>(wide);
}

// What the library's window shows, 800x600 from its top-left corner, as 0xRRGGBB, read
// through a connection of its own once the library has had the time to put out what it was
// given.
std::vector<unsigned long> Displayed()
{
    const int WIDTH = 800, HEIGHT = 600;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, _xwin.wm_window, DefaultRootWindow(display), 0, 0, &x, &y,
                          &child);
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), x, y, WIDTH, HEIGHT, AllPlanes, ZPixmap);
    std::vector<unsigned long> pixels;
    for (int row = 0; image && row < HEIGHT; ++row)
        for (int column = 0; column < WIDTH; ++column)
            pixels.push_back(XGetPixel(image, column, row) & 0xFFFFFF);
    if (image)
        XDestroyImage(image);
    XCloseDisplay(display);
    return pixels;
}

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
// mode 1, mode 2 with its bands, a rejected switch, and back to mode 1. The display is
// 1024x768 with no window manager, so full screen is the whole display: the 800x600 picture
// spread over it at 1.28 times, the 1024x768 one at its own size. The widening itself
// is held to the library's levels by the headless tests of PresentChanges, and what the
// display shows to the library's own 16-bit screen below.
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
    const int on_screen = OnScreen(BUFFER_BLUE);
    BITMAP* const placeholder = cGraphics::not_loaded;
    ASSERT_NE(placeholder, nullptr);
    clear_to_color(cGraphics::double_buffer, BUFFER_BLUE);
    cGraphics::DrawBuffer();
    EXPECT_EQ(getpixel(screen, 0, 0), on_screen);
    EXPECT_EQ(getpixel(screen, 1023, 767), on_screen);
    // Frames that change everywhere, as while the view moves, among small changes; colours
    // come back, as they would to a frame compared with a stale copy.
    std::mt19937 random(3);
    for (int i = 0; i < 60; ++i) {
        const int colour = 1 + random() % 3;
        if (random() % 4)
            clear_to_color(cGraphics::double_buffer, colour);
        else
            putpixel(cGraphics::double_buffer, 400, 300, colour);
        cGraphics::DrawBuffer();
        // Picture pixel (400, 300) covers screen pixels from (512, 384) on.
        ASSERT_EQ(getpixel(screen, 512, 384), OnScreen(colour)) << "frame " << i;
        ASSERT_EQ(getpixel(screen, 1023, 767),
                  OnScreen(getpixel(cGraphics::double_buffer, 799, 599)))
            << "frame " << i;
    }

    cGraphics::SetMode(2);
    ExpectMode(2, 1024);
    EXPECT_EQ(cGraphics::not_loaded, placeholder);
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
    EXPECT_FALSE(cGraphics::AlreadyInitialized());
}

// The game widens its frames for a screen of the display's own format, and puts out the rows
// it writes in rectangles of its own; the display must show what the library's own 16-bit
// screen showed, every 16-bit value and every place included, after a whole frame and after
// changes here and there in it.
TEST(GraphicsModule, TheDisplayShowsWhatThe16BitScreenShowed)
{
    BITMAP* const frame = create_bitmap_ex(16, 800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            reinterpret_cast<uint16_t*>(frame->line[y])[x] =
                x < 256 && y < 256 ? y << 8 | x : (x * 37 + y * 101) & 0xFFFF;
    BITMAP* const changed = create_bitmap_ex(16, 800, 600);
    blit(frame, changed, 0, 0, 0, 0, 800, 600);
    const int rectangles[][4] = {
        {100, 40, 120, 45}, {700, 47, 710, 49}, {300, 48, 305, 70}, {10, 500, 790, 510}};
    for (const auto& r : rectangles)
        rectfill(changed, r[0], r[1], r[2], r[3], r[0] * 97 + r[1]);

    set_color_depth(16);
    ASSERT_EQ(set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0), 0);
    std::vector<unsigned long> plain[2];
    for (int i = 0; i < 2; ++i) {
        blit(i == 0 ? frame : changed, screen, 0, 0, 0, 0, 800, 600);
        plain[i] = Displayed();
    }
    ASSERT_GE(plain[0].size(), 800u * 600u);
    EXPECT_GT(plain[0].size() - std::count(plain[0].begin(), plain[0].end(), 0ul), 790u * 600u)
        << "the frame is not on the display";

    // Mode 0 is a window of the picture's own size, the largest whole multiple that fits,
    // in the middle of the display.
    ASSERT_TRUE(cGraphics::Initialize(0));
    EXPECT_TRUE(cScreenRows::Holds(screen));
    clear_bitmap(cGraphics::double_buffer);
    cGraphics::DrawBuffer(); // the whole frame, then the changes to it
    for (int i = 0; i < 2; ++i) {
        blit(i == 0 ? frame : changed, cGraphics::double_buffer, 0, 0, 0, 0, 800, 600);
        cGraphics::DrawBuffer();
        const std::vector<unsigned long> widened = Displayed();
        ASSERT_EQ(widened.size(), plain[i].size());
        int differing = 0;
        for (size_t p = 0; p < widened.size(); ++p)
            differing += widened[p] != plain[i][p];
        EXPECT_EQ(differing, 0) << (i == 0 ? "whole frame" : "changes");
    }
    cGraphics::UnloadModule();
    destroy_bitmap(changed);
    destroy_bitmap(frame);
}
} // namespace
