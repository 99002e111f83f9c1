// Fuzzes the settings reader: any file must load, and leave the joystick
// values inside the ranges the settings accept.
#include <cstring>

#include "fileio.h"
#include "fuzz_input.h"
#include "input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The values a run starts with.
    memset(keyMapping, 0, sizeof keyMapping);
    joyDeadzone = 100;
    joyReverseAxis = Point{0, 0};

    FUZZ_CHECK(loadConfig(fuzzInputFile(data, size)) == 0);
    FUZZ_CHECK(joyDeadzone >= 0 && joyDeadzone <= 327670);
    FUZZ_CHECK(joyReverseAxis.x == 0 || joyReverseAxis.x == 1);
    FUZZ_CHECK(joyReverseAxis.y == 0 || joyReverseAxis.y == 1);
    return 0;
}
