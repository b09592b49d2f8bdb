#pragma once

#include <allegro.h>

// The X11 screen puts out each row written through bmp_write_line by itself, as the next
// row is selected: a lock and a request to the X server for every row. While a cScreenRows
// is held, rows written to its target wait instead; each rectangle named with Written goes
// out with the rectangles next to it in one request, and whatever is left goes out when the
// cScreenRows ends. On any other target it changes nothing, and rows go out as the library
// puts them.
class cScreenRows {
public:
    explicit cScreenRows(BITMAP* target);
    ~cScreenRows();
    cScreenRows(const cScreenRows&) = delete;
    cScreenRows& operator=(const cScreenRows&) = delete;

    // Whether rows written to target wait for Written; for a test to tell the paths apart.
    static bool Holds(BITMAP* target);

    // The rectangle of the target, in its own coordinates, has been written.
    void Written(int x, int y, int width, int height);

private:
    void PutPending();

    bool holding;
    int left = 0, top = 0, right = 0, bottom = 0; // pending; empty when right == left
};
