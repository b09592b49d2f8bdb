#include "graphics/cGraphics.h"

#include "bitmap/Fractal.h"
#include "bitmap/PictureFile.h"
#include "graphics/Placeholder.h"
#include "graphics/PresentChanges.h"
#include "graphics/cFramePacer.h"
#include "graphics/cScaler.h"
#include "platform/DesktopWindow.h"
#include "platform/FrameClock.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

int cGraphics::mode = 0;
int cGraphics::SCR_WIDTH = 0;
int cGraphics::SCR_HEIGHT = 0;
BITMAP* cGraphics::not_loaded = nullptr;
BITMAP* cGraphics::double_buffer = nullptr;
bool cGraphics::initialized = false;
bool cGraphics::windowed_by_player = false;

namespace {
struct ModeEntry {
    int picture_height; // the picture is as wide as the play area
    int play_width;
    int play_height;
    int play_top; // picture row of the play area's first row
    bool full_screen;
};

const ModeEntry MODES[] = {
    {600, 800, 600, 0, false},
    {600, 800, 600, 0, true},
    {768, 1024, 600, 84, true},
};
const int MODE_COUNT = sizeof(MODES) / sizeof(MODES[0]);

const int FRAMES_PER_SECOND = 60;
const int BAND_HEIGHT = 84;
const int BAND_ITERATIONS = 90;

cFramePacer _pacer(FRAMES_PER_SECOND);

// The window that grows to the desktop, opened once; false while the game plays in a plain
// window of the mode's size, which each mode opens anew.
bool _in_desktop_window = false;

// How the picture lies in the window, for the window's size when it was laid out; null until
// the first frame of a mode.
std::unique_ptr<cScaler> _scaler;
int _window_width = 0, _window_height = 0;

// What the screen's play area shows, so that a frame writes only what changed; null until
// the first frame of a layout has been presented in full.
BITMAP* _last_presented = nullptr;

// While the view moves, every frame changes nearly everywhere, and comparing it with the last
// one and keeping a copy of it buys nothing. After such a frame, this many go out whole and
// uncompared, and only the last of them is copied: a view that stops costs a few frames.
const int WHOLE_FRAMES_AFTER_A_MOVE = 7;
int _whole_frames_left = 0;

// The two fractal bands of the wide mode, upper and lower, made the first time the mode
// opens and kept: the same pictures come back on every switch, and the switch is quicker.
BITMAP* _bands[2] = {nullptr, nullptr};

// A plain window larger than the display hides part of the game: the player is told, once.
void WarnIfLargerThanScreen(int width, int height)
{
    static bool warned = false;
    int screen_width, screen_height;
    if (warned || get_desktop_resolution(&screen_width, &screen_height) != 0 ||
        (width <= screen_width && height <= screen_height))
        return;
    std::fprintf(stderr, "emberwing: the game's %dx%d picture is larger than the %dx%d screen\n",
                 width, height, screen_width, screen_height);
    warned = true;
}

// A screen of the display's own format is put out as it is, while the library converts
// every pixel written to a 16-bit one; only the way to the screen changes with it.
template <typename Open> bool OpenInDisplayFormat(Open open)
{
    return (desktop_color_depth() == 32 && open(32) && CanPresentTo(screen)) || open(16);
}

[[noreturn]] void StopWithError(const char* what)
{
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    std::fprintf(stderr, "emberwing: %s: %s\n", what, allegro_error);
    std::exit(1);
}
} // namespace

bool cGraphics::PlayAreaOf(int m, int* width, int* height)
{
    if (m < 0 || m >= MODE_COUNT)
        return false;
    *width = MODES[m].play_width;
    *height = MODES[m].play_height;
    return true;
}

// Opens the screen that shows mode m: the desktop window, opened once, or else a screen of
// the mode's own. Whatever was laid out on the screen before is forgotten.
void cGraphics::OpenScreen(int m)
{
    const ModeEntry& entry = MODES[m];
    const bool full_screen = entry.full_screen && !windowed_by_player;
    if (!initialized && HasDesktopWindow()) {
        _in_desktop_window = OpenInDisplayFormat([&](int depth) {
            return OpenDesktopWindow(depth, entry.play_width, entry.picture_height);
        });
        if (!_in_desktop_window)
            std::fprintf(stderr,
                         "emberwing: no window as large as the desktop could be opened "
                         "(%s); playing in a plain window\n",
                         allegro_error[0] ? allegro_error : "the display gives no size");
    }
    if (!_in_desktop_window) {
        if (!OpenInDisplayFormat([&](int depth) {
                return OpenModeScreen(depth, entry.play_width, entry.picture_height, full_screen);
            }))
            StopWithError("cannot open the video mode");
        if (is_windowed_mode())
            WarnIfLargerThanScreen(entry.play_width, entry.picture_height);
    }
    ShowPicture(entry.play_width, entry.picture_height);
    SetFullScreen(full_screen);
    // Everything but the screen stays 16-bit with red on top, as a 16-bit screen on a
    // 24-bit display has it; a 32-bit screen leaves the library's default 16-bit layout.
    set_color_depth(16);
    if (bitmap_color_depth(screen) == 32) {
        _rgb_r_shift_16 = 11;
        _rgb_g_shift_16 = 5;
        _rgb_b_shift_16 = 0;
    }
    _scaler.reset();
    _pacer.Restart();
}

// Opens mode m, whose play area is already set, and gives it a new double buffer.
void cGraphics::OpenMode(int m)
{
    mode = m;
    OpenScreen(m);
    initialized = true;
    double_buffer = create_bitmap(SCR_WIDTH + 1, SCR_HEIGHT + 1);
    if (!double_buffer)
        StopWithError("cannot create the frame buffer");
    // A frame of play draws every pixel of the play area, but a new buffer holds whatever
    // the memory held: it starts black, so that nothing drawn less fully ever shows that.
    clear_bitmap(double_buffer);
}

bool cGraphics::Initialize(int m)
{
    if (!PlayAreaOf(m, &SCR_WIDTH, &SCR_HEIGHT))
        return false;
    OpenMode(m);
    LoadPlaceholder();
    if (m == WIDE_MODE)
        MakeBands();
    return initialized;
}

void cGraphics::SetMode(int m)
{
    if (!PlayAreaOf(m, &SCR_WIDTH, &SCR_HEIGHT))
        return;
    destroy_bitmap(double_buffer);
    OpenMode(m);
    if (m == WIDE_MODE)
        MakeBands();
}

void cGraphics::ToggleWindowed()
{
    // The picture in the buffer is kept: it goes out again as soon as the window has its
    // new size, or the mode's own screen has opened again, full screen or not.
    windowed_by_player = !windowed_by_player;
    if (_in_desktop_window)
        SetFullScreen(MODES[mode].full_screen && !windowed_by_player);
    else if (MODES[mode].full_screen)
        OpenScreen(mode);
}

void cGraphics::LoadPlaceholder()
{
    not_loaded = LoadPicture("media/NotLoaded.pcx");
    if (!not_loaded)
        not_loaded = MakePlaceholderBitmap();
}

void cGraphics::MakeBands()
{
    if (_bands[0])
        return;
    // Two adjacent strips of the plane: the lower band starts where the upper one ends.
    const double re_min = -0.8235, re_span = 0.0366, im_span = 0.003;
    const double im_min[2] = {-0.1839, -0.1809};
    for (int i = 0; i < 2; ++i)
        _bands[i] = MakeFractal(SCR_WIDTH, BAND_HEIGHT,
                                {0, re_min, im_min[i], re_span, im_span, BAND_ITERATIONS}, 0);
}

bool cGraphics::LayOut()
{
    const ModeEntry& entry = MODES[mode];
    int width = entry.play_width, height = entry.picture_height;
    if (TakeScreenLoss())
        _scaler.reset();
    if (_in_desktop_window && !DesktopWindowSize(&width, &height) && _scaler)
        return false;
    if (_scaler && width == _window_width && height == _window_height)
        return false;
    _window_width = width;
    _window_height = height;
    _scaler = std::make_unique<cScaler>(
        entry.play_width, entry.picture_height,
        FitPicture(entry.play_width, entry.picture_height, width, height));
    _scaler->PaintBorders(screen, width, height);
    destroy_bitmap(_last_presented);
    _last_presented = nullptr;
    _whole_frames_left = 0;
    if (mode == WIDE_MODE) {
        const int top[2] = {0, entry.picture_height - BAND_HEIGHT};
        for (int i = 0; i < 2; ++i)
            if (_bands[i])
                PresentWhole(_bands[i], *_scaler, screen, SCR_WIDTH, BAND_HEIGHT, top[i]);
    }
    return true;
}

void cGraphics::Pace()
{
    if (_pacer.RetraceWaitWorthwhile()) {
        const int64_t start = ClockNow();
        vsync();
        _pacer.RecordRetraceWait(ClockNow() - start);
    }
    _pacer.Wait();
}

void cGraphics::FollowWindow()
{
    if (initialized && LayOut())
        Present();
}

void cGraphics::WaitForFrame()
{
    Pace();
    FollowWindow();
}

void cGraphics::DrawBuffer()
{
    Pace();
    LayOut();
    Present();
}

void cGraphics::Present()
{
    const int top = MODES[mode].play_top;
    if (_last_presented && _whole_frames_left == 0) {
        const int area = SCR_WIDTH * SCR_HEIGHT;
        if (PresentChanges(double_buffer, _last_presented, *_scaler, screen, SCR_WIDTH, SCR_HEIGHT,
                           top) >= area - area / 8)
            _whole_frames_left = WHOLE_FRAMES_AFTER_A_MOVE;
        return;
    }
    PresentWhole(double_buffer, *_scaler, screen, SCR_WIDTH, SCR_HEIGHT, top);
    if (_whole_frames_left > 0 && --_whole_frames_left > 0)
        return;
    if (!_last_presented)
        _last_presented = create_bitmap_ex(16, SCR_WIDTH, SCR_HEIGHT);
    if (_last_presented)
        blit(double_buffer, _last_presented, 0, 0, 0, 0, SCR_WIDTH, SCR_HEIGHT);
}

void cGraphics::DrawText(int x, int y, int red, int green, int blue, const char* text)
{
    textout_ex(double_buffer, font, text, x, y, makecol(red, green, blue), -1);
}

void cGraphics::UnloadModule()
{
    // Cleared as well as released, so that nothing can draw into freed memory afterwards.
    destroy_bitmap(not_loaded);
    destroy_bitmap(double_buffer);
    destroy_bitmap(_last_presented);
    _last_presented = nullptr;
    _scaler.reset();
    for (BITMAP*& band : _bands) {
        destroy_bitmap(band);
        band = nullptr;
    }
    not_loaded = nullptr;
    double_buffer = nullptr;
    ForgetDesktopWindow();
    _in_desktop_window = false;
    initialized = false;
}
