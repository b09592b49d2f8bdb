#include "platform/DisplayLoss.h"

// The screen is the system's own, not reached over a connection that could go.
void EndOnDisplayLoss() {}
