#include "platform/ScreenRows.h"

// The library's Windows screens take rows as they are written; there is nothing to hold.

bool cScreenRows::Holds(BITMAP*) { return false; }

cScreenRows::cScreenRows(BITMAP*) : holding(false) {}

cScreenRows::~cScreenRows() = default;

void cScreenRows::Written(int, int, int, int) {}

void cScreenRows::PutPending() {}
