#pragma once

#include <allegro.h>

#include <algorithm>
#include <vector>

// The opaque pixels of a 16-bit picture as runs along its rows, found once, so that drawing
// can copy or combine whole runs and skip the transparent ones without testing every pixel.
// A picture without a transparent pixel has one run per row, and its copy costs a blit.
struct OpaqueRuns {
    struct Run {
        int start, end; // source columns start to end - 1
    };
    int width, height;
    std::vector<int> first_run; // row v holds runs[first_run[v]] to runs[first_run[v + 1] - 1]
    std::vector<Run> runs;
};

// Columns left to right - 1 and rows top to bottom - 1 of a frame.
struct ClipArea {
    int left, top, right, bottom;
};

// The runs of a 16-bit memory bitmap; null for any other kind of bitmap.
OpaqueRuns* FindOpaqueRuns(BITMAP* picture);

// Calls visit(v, start, end) for every part of a run that lands inside the area when the
// picture's top-left corner is at (x, y): source row v lands on frame row y + v, and source
// columns start to end - 1 on frame columns x + start onwards.
template <typename Visit>
void VisitRunsInside(const OpaqueRuns& shape, int x, int y, ClipArea area, Visit visit)
{
    // Tested before any sum of a position and a size, so that no far-off position overflows.
    if (x >= area.right || y >= area.bottom || x <= area.left - shape.width ||
        y <= area.top - shape.height)
        return;
    const int v0 = std::max(0, area.top - y), v1 = std::min(shape.height, area.bottom - y);
    const int lo = area.left - x, hi = area.right - x;
    for (int v = v0; v < v1; ++v)
        for (int i = shape.first_run[v]; i < shape.first_run[v + 1]; ++i) {
            const int start = std::max(shape.runs[i].start, lo);
            const int end = std::min(shape.runs[i].end, hi);
            if (start < end)
                visit(v, start, end);
        }
}
