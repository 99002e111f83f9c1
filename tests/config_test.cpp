// The settings file: key mapping, joystick dead zone and axis reversal.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "fileio.h"
#include "input.h"
#include "test_util.h"

namespace {

struct Config : ::testing::Test {
    TempDir dir;
    std::string path = dir.path + "/config.cfg";

    // The start-up values: no key mapped, dead zone 100, no axis reversed.
    void SetUp() override { memset(keyMapping, 0, sizeof keyMapping); joyDeadzone = 100; joyReverseAxis = {0, 0}; }
    void TearDown() override { SetUp(); }

    // Writes text as the settings file and loads it; returns what was printed.
    std::string load(const char *text)
    {
        writeFile(path, text);
        return printed([&] { loadConfig(path.c_str()); });
    }
};

} // namespace

TEST_F(Config, TheShippedFileLoadsAndSavesBackLineForLine)
{
    ASSERT_EQ(loadConfig("./data/config.cfg"), 0);
    EXPECT_EQ(printed([&] { EXPECT_EQ(saveConfig(path.c_str()), 0); }), "Saving config\n|");
    EXPECT_EQ(readFile(path), readFile("./data/config.cfg"));
}

TEST_F(Config, OutOfRangeJoystickValuesAreClampedWithWarnings)
{
    const std::string dz = "WARNING: Joystick deadzone value must be ";
    const struct { const char *text; std::string out; int deadzone, revX, revY; } cases[] = {
        {"J_DEADZONE -5\n", dz + "greater than 0\nChanged the value to 0\n|", 0, 0, 0},
        {"J_DEADZONE 400000\n", dz + "smaller than 327670\nChanged the value to 327670\n|", 327670, 0, 0},
        {"J_DEADZONE 327670\n", "|", 327670, 0, 0},
        {"J_REVERSE_AXIS_X 2\n", "WARNING: J_REVERSE_AXIS_X value must be in range 0 - 1\n|", 100, 1, 0},
        {"J_REVERSE_AXIS_Y -1\n", "WARNING: J_REVERSE_AXIS_Y value must be in range 0 - 1\n|", 100, 0, 0},
    };
    for (const auto &c : cases) {
        SetUp();
        const std::string out = load(c.text);
        EXPECT_EQ(std::make_tuple(out, joyDeadzone, joyReverseAxis.x, joyReverseAxis.y),
                  std::make_tuple(c.out, c.deadzone, c.revX, c.revY));
    }
}

TEST_F(Config, AKeyAtTheEndOfItsLineHasNoValueAndIsIgnored)
{
    // The word table still holds "99" of the line before: it must not be read.
    keyMapping[K_MENU] = 27;
    load("K_JUMP 99\nK_MENU\nJ_DEADZONE\nK_OK 13 K_BACK\n");
    EXPECT_EQ(std::make_tuple(keyMapping[K_MENU], joyDeadzone, keyMapping[K_BACK]), std::make_tuple(27, 100, 0));
}

TEST_F(Config, FilesThatCannotBeOpenedAreReported)
{
    const std::string missing = dir.path + "/missing/config.cfg";
    EXPECT_EQ(printed([&] { EXPECT_EQ(loadConfig(missing.c_str()), 1); }), "|Can't open " + missing + "\n");
    EXPECT_EQ(printed([&] { EXPECT_EQ(saveConfig(missing.c_str()), 1); }),
              "|ERROR: (saveConfig) Can't open " + missing + "\n");
}

TEST_F(Config, CommentsChangeNothingAndOfAKeyGivenTwiceTheLastWins)
{
    keyMapping[K_OK] = 13;
    EXPECT_EQ(load("# K_OK 27\n\n   # J_DEADZONE 5\n"), "|");
    EXPECT_EQ(std::tuple(keyMapping[K_OK], joyDeadzone), std::tuple(13, 100));
    load("K_OK 27\nK_OK 32\n");
    EXPECT_EQ(keyMapping[K_OK], 32);
}
