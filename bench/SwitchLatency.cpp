// Measures, from outside the game, how long the switch to the wide mode takes to show: from
// the moment F1 goes down to the moment the new mode's first frame is on the X screen.
//
//   emberwing-switch-latency [switches, default 20]
//
// The game must be running in play in the 800 x 600 mode, full screen on a 1024 x 768 X
// screen. The wide mode's first frame puts its upper fractal band, red to yellow, over the
// top rows, where the narrow mode shows the city. The key goes in through the XTest
// extension, as a player's would, and the tool reads a short run of the screen's pixels
// until all are of the band. Every other switch takes the game back to the narrow mode and
// is not timed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {
// In the middle of the wide mode's upper band, right of the heads-up display.
const int PROBE_X = 504, PROBE_Y = 40, PROBE_WIDTH = 16;
const double HOLD_MS = 100;   // long enough for a game that reads its keys once a frame
const double SETTLE_MS = 400; // between switches
const double GIVE_UP_MS = 2000;
const double FRAME_MS = 1000.0 / 60;
const useconds_t POLL_US = 500; // fine enough to time, light enough not to slow the server

double NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The band's colours have full red and no blue; the city's roofs, walls and streets never
// do, least of all sixteen pixels in a row.
bool ProbeShowsBand(Display* display)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), PROBE_X, PROBE_Y, PROBE_WIDTH, 1,
                              AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool band = true;
    for (int x = 0; x < PROBE_WIDTH && band; ++x)
        band = (XGetPixel(image, x, 0) & 0xFF00FF) == 0xFF0000;
    XDestroyImage(image);
    return band;
}

// Waits until the probe shows the band (or, with want_wide false, no longer does); returns
// the milliseconds since start, or a negative number when it never happens.
double WaitForProbe(Display* display, bool want_wide, double start)
{
    while (ProbeShowsBand(display) != want_wide) {
        if (NowMs() - start > GIVE_UP_MS)
            return -1;
        usleep(POLL_US);
    }
    return NowMs() - start;
}

void SleepUntil(double when)
{
    while (NowMs() < when)
        usleep(1000);
}

// Holds F1 as a player would; returns how long the probe took to reach the wanted state.
double PressF1(Display* display, KeyCode f1, bool want_wide)
{
    const double start = NowMs();
    XTestFakeKeyEvent(display, f1, True, CurrentTime);
    XFlush(display);
    const double shown = WaitForProbe(display, want_wide, start);
    SleepUntil(start + HOLD_MS);
    XTestFakeKeyEvent(display, f1, False, CurrentTime);
    XFlush(display);
    // A random phase against the game's frames, so the times spread over where in a frame
    // the key lands.
    SleepUntil(NowMs() + SETTLE_MS + std::rand() % 17);
    return shown;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * (values.size() - 1) + 0.5);
    return values[index];
}
} // namespace

int main(int argc, char** argv)
{
    const int switches = argc > 1 ? std::atoi(argv[1]) : 20;
    Display* display = XOpenDisplay(nullptr);
    int event_base, error_base, major, minor;
    if (!display || !XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
        std::fprintf(stderr, "emberwing-switch-latency: needs an X display with XTest\n");
        return 2;
    }
    if (switches < 1 || ProbeShowsBand(display)) {
        std::fprintf(stderr, "emberwing-switch-latency: the game is not in the narrow mode\n");
        return 2;
    }
    const KeyCode f1 = XKeysymToKeycode(display, XK_F1);
    std::vector<double> times;
    std::printf("key to first wide frame (ms):");
    for (int i = 0; i < switches; ++i) {
        const double to_wide = PressF1(display, f1, true);
        if (to_wide < 0 || PressF1(display, f1, false) < 0) {
            std::fprintf(stderr, "\nemberwing-switch-latency: the mode did not change\n");
            return 1;
        }
        times.push_back(to_wide);
        std::printf(" %.1f", to_wide);
        std::fflush(stdout);
    }
    const double median = Percentile(times, 0.5), p90 = Percentile(times, 0.9);
    std::printf("\nmedian %.1f ms (%.2f frames), 90th percentile %.1f ms (%.2f frames), most "
                "%.1f ms, over %d switches\n",
                median, median / FRAME_MS, p90, p90 / FRAME_MS, Percentile(times, 1.0), switches);
    XCloseDisplay(display);
    return 0;
}
