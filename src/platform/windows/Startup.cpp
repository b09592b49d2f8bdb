#include "platform/Startup.h"

// Windows needs nothing set before the library starts.
void PrepareForLibrary() {}
