#include "platform/DesktopWindow.h"

#include "graphics/cScaler.h"

#include <allegro.h>
// After allegro.h, which it needs.
#include <xalleg.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {
const int SMALLEST_WINDOW = 160; // pixels wide; a window may be made no smaller
// What the desktop matches with the game's desktop entry and icon.
char CLASS_NAME[] = "emberwing", CLASS[] = "Emberwing";

bool _open = false;
int _display_width = 0, _display_height = 0;
// A connection of the game's own that hears of the window's changes of size as they come,
// where asking the server every frame would wake it every frame; the library's own
// connection drops those events.
Display* _watch = nullptr;
int _width_now = 0, _height_now = 0;
int _window_width = 0, _window_height = 0; // what the window opens at and comes back to
bool _full = false;

Atom Intern(const char* name) { return XInternAtom(_xwin.display, name, False); }

// The 32-bit items of a property of the root window; none when it is missing.
std::vector<long> RootProperty(const char* name, Atom type)
{
    const long MOST_ITEMS = 4096; // far more than any desktop lists
    Atom actual_type;
    int format;
    unsigned long read = 0, left;
    unsigned char* data = nullptr;
    std::vector<long> items;
    if (XGetWindowProperty(_xwin.display, DefaultRootWindow(_xwin.display), Intern(name), 0,
                           MOST_ITEMS, False, type, &actual_type, &format, &read, &left,
                           &data) == Success &&
        data && format == 32) {
        const long* values = reinterpret_cast<long*>(data); // Xlib gives 32-bit items as longs
        items.assign(values, values + read);
    }
    if (data)
        XFree(data);
    return items;
}

// Whether a window manager runs that covers the monitor with a window asking for it.
bool ManagerDoesFullScreen()
{
    const std::vector<long> check = RootProperty("_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (check.empty() || !check[0])
        return false;
    const std::vector<long> supported = RootProperty("_NET_SUPPORTED", XA_ATOM);
    const long full_screen = static_cast<long>(Intern("_NET_WM_STATE_FULLSCREEN"));
    return std::find(supported.begin(), supported.end(), full_screen) != supported.end();
}

// The desktop's work area, without panels; the whole display where nobody says.
void WorkArea(int* width, int* height)
{
    const std::vector<long> area = RootProperty("_NET_WORKAREA", XA_CARDINAL);
    const bool known = area.size() >= 4 && area[2] > 0 && area[3] > 0;
    *width = known ? static_cast<int>(area[2]) : _display_width;
    *height = known ? static_cast<int>(area[3]) : _display_height;
}

void SizeFor(int picture_width, int picture_height)
{
    int area_width, area_height;
    WorkArea(&area_width, &area_height);
    const int multiple = std::min(area_width / picture_width, area_height / picture_height);
    if (multiple >= 1) {
        _window_width = multiple * picture_width;
        _window_height = multiple * picture_height;
    } else {
        const Placement fit = FitPicture(picture_width, picture_height, area_width, area_height);
        _window_width = std::max(fit.width, SMALLEST_WINDOW);
        _window_height = std::max(fit.height, SMALLEST_WINDOW * 3 / 4);
    }
}

// The library makes its window exactly the screen's size, which may not change; this one
// may be anything from a small window to the whole display.
void AllowResizing()
{
    XSizeHints* hints = XAllocSizeHints();
    if (!hints)
        return;
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = SMALLEST_WINDOW;
    hints->min_height = SMALLEST_WINDOW * 3 / 4;
    hints->max_width = _display_width;
    hints->max_height = _display_height;
    XSetWMNormalHints(_xwin.display, _xwin.wm_window, hints);
    XFree(hints);
}

// The library names every window it makes "allegro".
void NameWindow()
{
    XClassHint hint = {CLASS_NAME, CLASS};
    XSetClassHint(_xwin.display, _xwin.wm_window, &hint);
    const long pid = getpid();
    XChangeProperty(_xwin.display, _xwin.wm_window, Intern("_NET_WM_PID"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

// Gives the window the size chosen for it, placed in the middle where nobody else places it.
void ResizeWindow(bool managed)
{
    if (managed)
        XResizeWindow(_xwin.display, _xwin.wm_window, _window_width, _window_height);
    else
        XMoveResizeWindow(_xwin.display, _xwin.wm_window, (_display_width - _window_width) / 2,
                          (_display_height - _window_height) / 2, _window_width, _window_height);
}

void AskManager(bool full)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = _xwin.wm_window;
    event.xclient.message_type = Intern("_NET_WM_STATE");
    event.xclient.format = 32;
    event.xclient.data.l[0] = full ? 1 : 0; // add or remove
    event.xclient.data.l[1] = static_cast<long>(Intern("_NET_WM_STATE_FULLSCREEN"));
    event.xclient.data.l[3] = 1; // asked by an application
    XSendEvent(_xwin.display, DefaultRootWindow(_xwin.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}
} // namespace

bool OpenDesktopWindow(int depth, int picture_width, int picture_height)
{
    if (!system_driver || system_driver->id != SYSTEM_XWINDOWS ||
        get_desktop_resolution(&_display_width, &_display_height) != 0 || _display_width <= 0 ||
        _display_height <= 0)
        return false;
    set_color_depth(depth);
    if (set_gfx_mode(GFX_XWINDOWS, _display_width, _display_height, 0, 0) != 0)
        return false;
    XLOCK();
    NameWindow();
    SizeFor(picture_width, picture_height);
    AllowResizing();
    XResizeWindow(_xwin.display, _xwin.wm_window, _window_width, _window_height);
    // Done before the watch asks: the server serves two connections in any order.
    XSync(_xwin.display, False);
    const Window window = _xwin.wm_window;
    XUNLOCK();
    if (!_watch)
        _watch = XOpenDisplay(nullptr);
    if (!_watch)
        return false;
    XSelectInput(_watch, window, StructureNotifyMask);
    // Asked once, after the watch began: no change of size can fall between.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(_watch, window, &attributes))
        return false;
    _width_now = attributes.width;
    _height_now = attributes.height;
    _open = true;
    _full = false;
    return true;
}

void ShowPicture(int picture_width, int picture_height)
{
    if (!_open)
        return;
    XLOCK();
    SizeFor(picture_width, picture_height);
    if (!_full) {
        ResizeWindow(ManagerDoesFullScreen());
        XFlush(_xwin.display);
    }
    XUNLOCK();
}

void ForgetDesktopWindow() { _open = false; }

void SetFullScreen(bool full)
{
    if (!_open || full == _full)
        return;
    _full = full;
    XLOCK();
    const bool managed = ManagerDoesFullScreen();
    if (managed)
        AskManager(full);
    if (full && !managed) {
        XMoveResizeWindow(_xwin.display, _xwin.wm_window, 0, 0, _display_width, _display_height);
        XRaiseWindow(_xwin.display, _xwin.wm_window);
    } else if (!full) {
        // After the manager has put back the window's size from before full screen, which
        // may have been chosen for the other picture.
        ResizeWindow(managed);
    }
    XFlush(_xwin.display);
    XUNLOCK();
}

bool DesktopWindowSize(int* width, int* height)
{
    if (!_open)
        return false;
    while (XEventsQueued(_watch, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(_watch, &event);
        if (event.type == ConfigureNotify) {
            _width_now = event.xconfigure.width;
            _height_now = event.xconfigure.height;
        }
    }
    *width = std::min(_width_now, _display_width);
    *height = std::min(_height_now, _display_height);
    return true;
}

bool HasDesktopWindow() { return true; }

bool OpenModeScreen(int depth, int picture_width, int picture_height, bool)
{
    // Always a window: a full-screen video mode would change the desktop's mode, which a
    // crash leaves changed, and grab the keyboard, which Wayland desktops never pass on.
    set_color_depth(depth);
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, picture_width, picture_height, 0, 0) == 0;
}

// Every screen here keeps what it shows while the player is elsewhere.
bool TakeScreenLoss() { return false; }
