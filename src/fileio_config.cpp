// The settings file: the key mapping and the joystick settings, read and written.
#include "fileio.h"
#include "fileio_private.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "global.h"
#include "input.h"

// The keys of the settings file for keyMapping[0] ... keyMapping[17], in file order.
static const char *const CONFIG_MAPPING_KEYS[] = {
    "K_UP", "K_DOWN", "K_LEFT", "K_RIGHT", "K_ACTION", "K_JUMP", "K_OK", "K_BACK", "K_MENU",
    "J_UP", "J_DOWN", "J_LEFT", "J_RIGHT", "J_ACTION", "J_JUMP", "J_OK", "J_BACK", "J_MENU"};
static_assert(std::size(CONFIG_MAPPING_KEYS) == std::size(keyMapping), "one key per mapping entry");

static const char *const CONFIG_DEADZONE_KEY = "J_DEADZONE";
static const char *const CONFIG_REVERSE_X_KEY = "J_REVERSE_AXIS_X";
static const char *const CONFIG_REVERSE_Y_KEY = "J_REVERSE_AXIS_Y";

// Largest joystick dead zone the settings accept (ten times an axis' range).
const int CONFIG_DEADZONE_MAX = 327670;

// Stores a dead zone, clamped to 0 ... CONFIG_DEADZONE_MAX with a warning.
static void configSetDeadzone(int v)
{
    joyDeadzone = v;
    if (joyDeadzone < 0) {
        joyDeadzone = 0;
        printf("WARNING: Joystick deadzone value must be greater than 0\n");
        printf("Changed the value to 0\n");
    }
    if (joyDeadzone > CONFIG_DEADZONE_MAX) {
        joyDeadzone = CONFIG_DEADZONE_MAX;
        printf("WARNING: Joystick deadzone value must be smaller than %d\n", CONFIG_DEADZONE_MAX);
        printf("Changed the value to %d\n", CONFIG_DEADZONE_MAX);
    }
}

// Stores an axis reversal flag, clamped to 0 ... 1 with the given warning.
static void configSetReverse(int *flag, int v, const char *warning)
{
    *flag = v;
    if (*flag < 0) {
        *flag = 0;
        printf("%s", warning);
    }
    if (*flag > 1) {
        *flag = 1;
        printf("%s", warning);
    }
}

// Applies the setting named by key with the value word; unknown words are ignored.
static void configApply(const char *key, const char *value)
{
    for (size_t k = 0; k < std::size(CONFIG_MAPPING_KEYS); k++) {
        if (strcmp(key, CONFIG_MAPPING_KEYS[k]) == 0)
            keyMapping[k] = atoi(value);
    }
    if (strcmp(key, CONFIG_DEADZONE_KEY) == 0)
        configSetDeadzone(atoi(value));
    if (strcmp(key, CONFIG_REVERSE_X_KEY) == 0)
        configSetReverse(&joyReverseAxis.x, atoi(value),
                         "WARNING: J_REVERSE_AXIS_X value must be in range 0 - 1\n");
    if (strcmp(key, CONFIG_REVERSE_Y_KEY) == 0)
        configSetReverse(&joyReverseAxis.y, atoi(value),
                         "WARNING: J_REVERSE_AXIS_Y value must be in range 0 - 1\n");
}

// One line of the settings file: a key anywhere in it takes the next word as
// its value. A key that ends the line has no value and is ignored.
static void configReadLine(char **words, int n, void *)
{
    for (int i = 0; i + 1 < n; i++)
        configApply(words[i], words[i + 1]);
}

// Reads the key mapping and joystick settings; 1 if the file cannot be opened.
int loadConfig(const char *filename)
{
    return readWordLines(filename, configReadLine, nullptr);
}

// Writes the settings file's lines, in the order loadConfig reads them back.
static void configWriteLines(FILE *ofp, const void *)
{
    fprintf(ofp, "%s", GENERATED_HEADER);
    fprintf(ofp, "\n");
    fprintf(ofp, "#Game version:\n");
    fprintf(ofp, "VERSION %d %d %d\n", VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
    fprintf(ofp, "#Button configuration:\n");
    fprintf(ofp, "#Keyboard\n");
    fprintf(ofp, "#(values in ascii)\n");
    for (int k = K_UP; k <= K_MENU; k++)
        fprintf(ofp, "%s %d\n", CONFIG_MAPPING_KEYS[k], keyMapping[k]);
    fprintf(ofp, "#Joystick\n");
    fprintf(ofp, "#(set J_UP/J_DOWN/J_LEFT/J_RIGHT values to -1 if you want direction control "
                 "with analog/hat)\n");
    for (int k = J_UP; k <= J_MENU; k++)
        fprintf(ofp, "%s %d\n", CONFIG_MAPPING_KEYS[k], keyMapping[k]);
    fprintf(ofp, "#Joystick deadzone (0 - 32767)\n");
    fprintf(ofp, "%s %d\n", CONFIG_DEADZONE_KEY, joyDeadzone);
    fprintf(ofp, "#Reverse the joystick axis (0 - 1)\n");
    fprintf(ofp, "%s %d\n", CONFIG_REVERSE_X_KEY, joyReverseAxis.x);
    fprintf(ofp, "%s %d\n", CONFIG_REVERSE_Y_KEY, joyReverseAxis.y);
}

// Writes the settings beside the old file and renames it into place, so a
// failed write keeps the old settings; 1 (with a message) on any failure.
int saveConfig(const char *filename)
{
    return saveAtomically(filename, "Saving config\n", "ERROR: (saveConfig) Can't open %s: %s\n", configWriteLines,
                          nullptr);
}
