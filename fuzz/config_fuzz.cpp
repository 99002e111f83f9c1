// Fuzzes the settings reader: any file must load, and leave the joystick
// values inside the ranges the settings accept. What was read is then saved
// and read back, and must come back the same: the settings page saves what
// the reader made of a hand-edited file, and a value the writer cannot give
// back would change the player's settings under them.
#include <cstring>
#include <string>

#include "fileio.h"
#include "fuzz_input.h"
#include "input.h"

// Everything the settings file sets.
struct Settings {
    int keys[sizeof keyMapping / sizeof keyMapping[0]];
    int deadzone;
    Point reverse;
};

static Settings currentSettings(void)
{
    Settings s;
    memcpy(s.keys, keyMapping, sizeof s.keys);
    s.deadzone = joyDeadzone;
    s.reverse = joyReverseAxis;
    return s;
}

// Where what was read is saved, in a scratch folder of its own.
static const char *savedFile = nullptr;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    savedFile = fuzzSavedFile("config", "config.cfg");
    return 0;
}

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

    const Settings read = currentSettings();
    FUZZ_CHECK(saveConfig(savedFile) == 0);
    memset(keyMapping, 0xA5, sizeof keyMapping);
    joyDeadzone = -1;
    joyReverseAxis = Point{-1, -1};
    FUZZ_CHECK(loadConfig(savedFile) == 0);
    const Settings readBack = currentSettings();
    FUZZ_CHECK(memcmp(&read, &readBack, sizeof read) == 0);
    return 0;
}
