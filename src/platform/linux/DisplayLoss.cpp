#include "platform/DisplayLoss.h"

#include <X11/Xlib.h>

#include <atomic>
#include <unistd.h>

namespace {
std::atomic_flag _ending = ATOMIC_FLAG_INIT;

// Called on whichever thread meets the dead connection first, and perhaps on another at the
// same moment: only the first speaks; the other waits for the end.
int OnDisplayLost(Display*)
{
    if (!_ending.test_and_set()) {
        static const char message[] = "emberwing: lost the connection to the display\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof(message) - 1);
        _exit(1);
    }
    for (;;)
        pause();
}
} // namespace

void EndOnDisplayLoss() { XSetIOErrorHandler(OnDisplayLost); }
