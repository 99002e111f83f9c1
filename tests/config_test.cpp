// The settings file: key mapping, joystick dead zone and axis reversal.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/stat.h>

#include "fileio.h"
#include "input.h"
#include "test_util.h"

namespace {

const char *const SHIPPED_CONFIG = "./data/config.cfg";

class Config : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.path + "/config.cfg";

    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }

    // The start-up values: no key mapped, dead zone 100, no axis reversed.
    static void resetSettings()
    {
        memset(keyMapping, 0, sizeof keyMapping);
        joyDeadzone = 100;
        joyReverseAxis = {0, 0};
    }

    // Loads text as a settings file and returns what it printed on stdout.
    std::string loadText(const std::string &text)
    {
        writeFile(path, text);
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadConfig(path.c_str()), 0);
        return testing::internal::GetCapturedStdout();
    }
};

} // namespace

TEST_F(Config, TheShippedFileLoadsAndSavesBackLineForLine)
{
    ASSERT_EQ(loadConfig(SHIPPED_CONFIG), 0);
    EXPECT_EQ(keyMapping[K_UP], SDLK_UP);
    EXPECT_EQ(keyMapping[K_DOWN], SDLK_DOWN);
    EXPECT_EQ(keyMapping[K_LEFT], SDLK_LEFT);
    EXPECT_EQ(keyMapping[K_RIGHT], SDLK_RIGHT);

    testing::internal::CaptureStdout();
    EXPECT_EQ(saveConfig(path.c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Saving config\n");
    EXPECT_EQ(readFile(path), readFile(SHIPPED_CONFIG));
    EXPECT_FALSE(fileExists(path + ".tmp"));
}

TEST_F(Config, TheShippedKeyboardMappingGivesEveryButtonItsOwnKey)
{
    ASSERT_EQ(loadConfig(SHIPPED_CONFIG), 0);
    for (int a = K_UP; a <= K_MENU; a++) {
        EXPECT_NE(keyMapping[a], 0) << "button " << a;
        for (int b = a + 1; b <= K_MENU; b++)
            EXPECT_NE(keyMapping[a], keyMapping[b]) << "buttons " << a << " and " << b;
    }
}

TEST_F(Config, OutOfRangeJoystickValuesAreClampedWithWarnings)
{
    EXPECT_EQ(loadText("J_DEADZONE -5\n"),
              "WARNING: Joystick deadzone value must be greater than 0\nChanged the value to 0\n");
    EXPECT_EQ(joyDeadzone, 0);
    EXPECT_EQ(loadText("J_DEADZONE 400000\n"),
              "WARNING: Joystick deadzone value must be smaller than 327670\n"
              "Changed the value to 327670\n");
    EXPECT_EQ(joyDeadzone, 327670);
    EXPECT_EQ(loadText("J_DEADZONE 0\n"), "");
    EXPECT_EQ(joyDeadzone, 0);
    EXPECT_EQ(loadText("J_DEADZONE 327670\n"), "");
    EXPECT_EQ(joyDeadzone, 327670);

    EXPECT_EQ(loadText("J_REVERSE_AXIS_X 2\n"), "WARNING: J_REVERSE_AXIS_X value must be in range 0 - 1\n");
    EXPECT_EQ(joyReverseAxis.x, 1);
    EXPECT_EQ(loadText("J_REVERSE_AXIS_Y -1\n"), "WARNING: J_REVERSE_AXIS_Y value must be in range 0 - 1\n");
    EXPECT_EQ(joyReverseAxis.y, 0);
}

TEST_F(Config, KeysAreFoundAnywhereInALineAndTheLastValueWins)
{
    EXPECT_EQ(loadText("K_JUMP 32\n"
                       "buttons: K_OK 13 K_BACK 8 # K_MENU 99\n"
                       "J_ACTION two\n"
                       "K_JUMP 120\n"),
              "");
    EXPECT_EQ(keyMapping[K_JUMP], 120);
    EXPECT_EQ(keyMapping[K_OK], 13);
    EXPECT_EQ(keyMapping[K_BACK], 8);
    EXPECT_EQ(keyMapping[K_MENU], 0);   // behind the comment
    EXPECT_EQ(keyMapping[J_ACTION], 0); // not a number

    // A file of comments changes nothing.
    resetSettings();
    EXPECT_EQ(loadText("#K_UP 273\n\n   # J_DEADZONE 5\n"), "");
    for (int k = 0; k < 18; k++)
        EXPECT_EQ(keyMapping[k], 0);
    EXPECT_EQ(joyDeadzone, 100);
}

TEST_F(Config, AKeyAtTheEndOfItsLineHasNoValueAndIsIgnored)
{
    // The word table still points at "99" of the line before: it must not be read.
    keyMapping[K_MENU] = 27;
    loadText("K_JUMP 99\nK_MENU\nJ_DEADZONE\nK_OK 13 K_BACK\n");
    EXPECT_EQ(keyMapping[K_JUMP], 99);
    EXPECT_EQ(keyMapping[K_MENU], 27);
    EXPECT_EQ(joyDeadzone, 100);
    EXPECT_EQ(keyMapping[K_OK], 13);
    EXPECT_EQ(keyMapping[K_BACK], 0);
}

TEST_F(Config, AMissingFileIsReportedAndChangesNothing)
{
    const std::string missing = dir.path + "/none.cfg";
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadConfig(missing.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can't open " + missing + "\n");
    for (int k = 0; k < 18; k++)
        EXPECT_EQ(keyMapping[k], 0);
    EXPECT_EQ(joyDeadzone, 100);
}

TEST_F(Config, AFailedSaveIsReportedAndKeepsTheOldFile)
{
    const std::string old = "K_UP 1\n";
    keyMapping[K_UP] = 273;

    // No directory to write into.
    const std::string noDir = dir.path + "/missing/config.cfg";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveConfig(noDir.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: (saveConfig) Can't open " + noDir + "\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The disk fills up while writing: the temporary file is /dev/full.
    writeFile(path, old);
    ASSERT_EQ(symlink("/dev/full", (path + ".tmp").c_str()), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveConfig(path.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: (saveConfig) Can't open " + path + "\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Saving config\n");
    EXPECT_EQ(readFile(path), old);
    EXPECT_FALSE(fileExists(path + ".tmp"));

    // The finished file cannot replace the target (a directory stands there).
    const std::string dirTarget = dir.path + "/taken";
    ASSERT_EQ(mkdir(dirTarget.c_str(), 0755), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveConfig(dirTarget.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: (saveConfig) Can't open " + dirTarget + "\n");
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(fileExists(dirTarget + ".tmp"));

    // After all that, a save that can succeed replaces the old file.
    testing::internal::CaptureStdout();
    EXPECT_EQ(saveConfig(path.c_str()), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_NE(readFile(path).find("K_UP 273\n"), std::string::npos);
}
