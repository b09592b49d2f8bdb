#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>

// Test programs that open real video modes: the library starts on the X11 display that
// the test runner provides.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (allegro_init() != 0) {
        std::fprintf(stderr, "no display for the test: %s\n", allegro_error);
        return 1;
    }
    install_keyboard();
    return RUN_ALL_TESTS();
}
