#include "platform/ScreenRows.h"

#include <algorithm>

// The library's own X11 screen functions. They are not in its headers, so they are declared
// weak: a library without them leaves them null, and the screen is written the plain way.
extern "C" {
extern int _xwin_in_gfx_call __attribute__((weak));
unsigned long _xwin_write_line(BITMAP* bitmap, int line) __attribute__((weak));
void _xwin_update_screen(int x, int y, int width, int height) __attribute__((weak));
}

bool cScreenRows::Holds(BITMAP* target)
{
    // The library's own drawing to its X11 screen raises this flag while it writes rows, and
    // puts out the rectangle drawn when done; a screen whose rows are selected by another
    // function is not that screen.
    return &_xwin_in_gfx_call && _xwin_write_line && _xwin_update_screen &&
           target->write_bank == reinterpret_cast<void*>(_xwin_write_line);
}

cScreenRows::cScreenRows(BITMAP* target) : holding(Holds(target))
{
    if (holding)
        _xwin_in_gfx_call = 1;
}

cScreenRows::~cScreenRows()
{
    if (!holding)
        return;
    _xwin_in_gfx_call = 0;
    PutPending();
}

void cScreenRows::Written(int x, int y, int width, int height)
{
    if (!holding)
        return;
    // Rows that carry on from the pending rectangle join it; anything else goes out apart,
    // so that a few changes far apart do not send the screen between them.
    if (right > left && y != bottom) {
        PutPending();
        right = left;
    }
    if (right == left) {
        left = x;
        top = y;
        right = x + width;
    } else {
        left = std::min(left, x);
        right = std::max(right, x + width);
    }
    bottom = y + height;
}

void cScreenRows::PutPending()
{
    if (right > left)
        _xwin_update_screen(left, top, right - left, bottom - top);
}
