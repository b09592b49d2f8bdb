// Both fuzzers read through the library, which must first start without a display.
#include "support/Headless.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartHeadlessAllegro();
    return 0;
}
