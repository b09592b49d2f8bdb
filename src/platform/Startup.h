#pragma once

// Settings of the process that the library must find in place when it starts: call it
// before allegro_init.
void PrepareForLibrary();
