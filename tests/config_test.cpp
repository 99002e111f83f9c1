// The settings file: key mapping, joystick dead zone and axis reversal. Most
// cases are files under tests/data/config_cases/, each stating in its "#> "
// line the settings it leaves and in its "#| " line what loading it prints.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>

#include "fileio.h"
#include "input.h"
#include "test_util.h"

// In map_file_test.cpp.
void checkCaseFiles(const char *folder, const std::function<std::string(const std::string &)> &load,
                    const std::function<std::string()> &describe);

namespace {

struct Config : ::testing::Test {
    TempDir dir;
    std::string path = dir.path + "/config.cfg";

    // The start-up values: no key mapped, dead zone 100, no axis reversed.
    void SetUp() override { inputReset(); }
    void TearDown() override { SetUp(); }
};

// The settings a case can touch, with OK and MENU mapped beforehand.
std::string settings()
{
    std::ostringstream s;
    s << "ok=" << keyMapping[K_OK] << " back=" << keyMapping[K_BACK] << " menu=" << keyMapping[K_MENU]
      << " jump=" << keyMapping[K_JUMP] << " deadzone=" << joyDeadzone << " reverse=" << joyReverseAxis.x << ","
      << joyReverseAxis.y;
    return s.str();
}

} // namespace

TEST_F(Config, EachCaseFileLeavesTheSettingsItStates)
{
    checkCaseFiles("tests/data/config_cases", [this](const std::string &path) {
        SetUp();
        keyMapping[K_OK] = 13;
        keyMapping[K_MENU] = 27;
        return printed([&] { EXPECT_EQ(loadConfig(path.c_str()), 0); });
    }, settings);
}

TEST_F(Config, TheShippedFileLoadsAndSavesBackLineForLine)
{
    ASSERT_EQ(loadConfig("./data/config.cfg"), 0);
    EXPECT_EQ(printed([&] { EXPECT_EQ(saveConfig(path.c_str()), 0); }), "Saving config\n|");
    EXPECT_EQ(readFile(path), readFile("./data/config.cfg"));
}

TEST_F(Config, FilesThatCannotBeOpenedAreReported)
{
    const std::string missing = dir.path + "/missing/config.cfg";
    EXPECT_EQ(printed([&] { EXPECT_EQ(loadConfig(missing.c_str()), 1); }), "|Can't open " + missing + "\n");
    EXPECT_EQ(printed([&] { EXPECT_EQ(saveConfig(missing.c_str()), 1); }),
              "|ERROR: (saveConfig) Can't open " + missing + ": No such file or directory\n");
}
