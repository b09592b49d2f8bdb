#include "support/Headless.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    StartHeadlessAllegro();
    return RUN_ALL_TESTS();
}
