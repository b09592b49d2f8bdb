#include "platform/Startup.h"

#include <cstdlib>

void PrepareForLibrary()
{
    // The game reads keys, never text. Without this the X input method reads the locale's
    // whole table of compose sequences at start, thousands of lines and about 17 ms of CPU
    // in a start that should take a blink.
    setenv("XCOMPOSEFILE", "/dev/null", 1);
}
