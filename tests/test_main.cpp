// Test entry point: every test runs headless on SDL's dummy video driver.
#include <gtest/gtest.h>

#include "sdlmain.h"

int main(int argc, char **argv)
{
    headlessSDL();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
