// The command line (what each switch prints and where) and the fixed-step
// main loop's accounting of logic steps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "global.h"
#include "main.h"
#include "sdlmain.h"

namespace {

const char HELP[] =
    "Kettlemoor version 0.0.1\n"
    "-r or -res [w h]\t\t\tsets the resolution to the given values (default 320 240)\n"
    "-s or -scale [1-3]\t\t\tscales the screen the given times (default 1)\n"
    "-e or -extract [input.bmp output.col]\treads the input bitmap and extracts the collision "
    "data to the output location\n"
    "-v or -version\t\t\t\tdisplays the program version\n"
    "-h or -help\t\t\t\tthis screen\n";
const char VERSION[] = "Kettlemoor version 0.0.1\n";

// Puts back every global the entry touches.
void resetGlobals()
{
    quit = 0;
    screenWidth = 160;
    screenHeight = 120;
    scale = 2;
    free(mapFile);
    mapFile = nullptr;
    free(mapFileNext);
    mapFileNext = nullptr;
    _resetFrameSkip = 0;
    gameMode = MODE_EXIT;
    newGameMode = MODE_EXIT;
}

// An argument vector with the program name in front.
struct Args {
    std::vector<std::string> words;
    std::vector<char *> argv;
    explicit Args(std::vector<std::string> given) : words(std::move(given))
    {
        words.insert(words.begin(), "kettlemoor");
        for (std::string &w : words)
            argv.push_back(&w[0]);
        argv.push_back(nullptr);
    }
    int argc() const { return (int)words.size(); }
};

struct Output {
    std::string out;
    std::string err;
    int status;
};

// Runs the whole program with args (which must end it before the loop).
Output runGame(std::vector<std::string> words)
{
    Args args(std::move(words));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = gameMain(args.argc(), args.argv.data());
    Output result;
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    result.status = status;
    return result;
}

// Reads switches only, without starting anything; returns what went to stderr.
std::string readSwitches(std::vector<std::string> words)
{
    Args args(std::move(words));
    testing::internal::CaptureStderr();
    mainReadSwitches(args.argc(), args.argv.data());
    return testing::internal::GetCapturedStderr();
}

class CommandLine : public testing::Test {
protected:
    void SetUp() override { resetGlobals(); }
    void TearDown() override { resetGlobals(); }
};

} // namespace

TEST_F(CommandLine, HelpAndVersionPrintTheirTextsInOrderAndEndTheProgram)
{
    Output o = runGame({"-h"});
    EXPECT_EQ(o.out, HELP);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);

    o = runGame({"-version"});
    EXPECT_EQ(o.out, VERSION);

    o = runGame({"-h", "-v"});
    EXPECT_EQ(o.out, std::string(HELP) + VERSION);
    EXPECT_EQ(o.status, 0);

    o = runGame({"-help", "-H"}); // switches are case-sensitive
    EXPECT_EQ(o.out, std::string(HELP) +
                         "Unknown command \"-H\", try -help for the list of available commands\n");
}

TEST_F(CommandLine, PlainWordsAreIgnoredAndUnknownSwitchesNamed)
{
    Output o = runGame({"level", "-x"});
    EXPECT_EQ(o.out, "Unknown command \"-x\", try -help for the list of available commands\n");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);
}

TEST_F(CommandLine, ResolutionNeedsTwoValuesThatDoNotBeginWithADash)
{
    Output o = runGame({"-res", "320"});
    EXPECT_EQ(o.err, "Not enough arguments for -res\n");
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(screenWidth, 160);

    // The dash-led value is then examined as a switch of its own.
    o = runGame({"-res", "320", "-240"});
    EXPECT_EQ(o.err, "Not enough arguments for -res\n");
    EXPECT_EQ(o.out, "Unknown command \"-240\", try -help for the list of available commands\n");

    resetGlobals();
    EXPECT_EQ(readSwitches({"-r", "200", "150"}), "");
    EXPECT_EQ(screenWidth, 200);
    EXPECT_EQ(screenHeight, 150);
    EXPECT_EQ(quit, 0);
}

TEST_F(CommandLine, ScaleTakesAnyValueThatIsPresent)
{
    Output o = runGame({"-s"});
    EXPECT_EQ(o.err, "Not enough arguments for -s\n");
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(scale, 2);

    resetGlobals();
    EXPECT_EQ(readSwitches({"-s", "0"}), "");
    EXPECT_EQ(scale, 0);
    EXPECT_EQ(quit, 0);

    scale = 2;
    EXPECT_EQ(readSwitches({"-scale", ""}), ""); // empty counts as present
    EXPECT_EQ(scale, 0);
    EXPECT_EQ(quit, 0);
}

TEST_F(CommandLine, TheLastMapWinsAndAMissingMapStillStartsTheGame)
{
    Output o = runGame({"-m", "a.map", "-map", "b.map", "-v"});
    EXPECT_EQ(o.out, std::string("Loading map: a.map\nLoading map: b.map\n") + VERSION);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(mapFile, nullptr); // released at shutdown

    resetGlobals();
    readSwitches({"-m", "a.map", "-m", "b.map"});
    ASSERT_NE(mapFile, nullptr);
    EXPECT_STREQ(mapFile, "b.map");
    EXPECT_EQ(quit, 0);

    resetGlobals();
    EXPECT_EQ(readSwitches({"-m"}), "Not enough arguments for -m\n");
    EXPECT_EQ(mapFile, nullptr);
    EXPECT_EQ(quit, 0);
}

TEST_F(CommandLine, ShutdownReleasesTheNextLevelNameEvenWithoutAMapSwitch)
{
    mapFileNext = strdup("map02.map");
    runGame({"-v"});
    EXPECT_EQ(mapFileNext, nullptr);
}

TEST_F(CommandLine, ExtractOpensVideoWithTheSwitchesBeforeItAndEndsTheProgram)
{
    Output o = runGame({"-r", "200", "150", "-e", "missing.bmp", "/nonexistent/out.col"});
    EXPECT_NE(o.out.find("400x300 16bpp (200x150, x2)\n"), std::string::npos) << o.out;
    EXPECT_EQ(o.err.find("Failed to init SDL"), std::string::npos) << o.err;
    EXPECT_EQ(screen, nullptr); // video was shut down again
    EXPECT_EQ(o.status, 0);

    o = runGame({"-extract", "in.bmp"});
    EXPECT_EQ(o.err, "Not enough arguments for -extract\n");
}

// ---- main loop ----

namespace {

class MainLoop : public testing::Test {
protected:
    void SetUp() override
    {
        resetGlobals();
        // A frame is drawn after steps; give it a screen to go to.
        testing::internal::CaptureStdout();
        ASSERT_EQ(initSDL(), 0);
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        cleanSDL();
        resetGlobals();
    }
};

} // namespace

TEST_F(MainLoop, EachPassRunsTheStepsThatFellDueThenDrawsOnce)
{
    // Elapsed ms from an empty accumulator, and the steps it pays for.
    const int cases[][2] = {{16, 0}, {17, 1}, {50, 2}, {51, 3}, {100, 5}, {101, 6}};
    for (const auto &c : cases) {
        mainLoopReset(1000);
        EXPECT_EQ(mainLoopPass(1000 + c[0]), c[1]) << c[0] << " ms";
        EXPECT_EQ(mainLoopDrawPending(), 0) << c[0] << " ms"; // drawn, or nothing to draw
    }
}

TEST_F(MainLoop, TimeShortOfAStepCarriesToTheNextPass)
{
    mainLoopReset(0);
    EXPECT_EQ(mainLoopPass(50), 2); // 16.67 ms left over
    EXPECT_EQ(mainLoopPass(50), 0);
    EXPECT_EQ(mainLoopPass(51), 1);
    EXPECT_EQ(mainLoopPass(60), 0);
}

TEST_F(MainLoop, AfterAFrameSkipResetThePassRunsExactlyOneStep)
{
    mainLoopReset(0);
    EXPECT_EQ(mainLoopPass(10), 0);
    resetFrameSkip();
    EXPECT_EQ(mainLoopPass(9000), 1); // a long stall in the key capture
    EXPECT_EQ(_resetFrameSkip, 0);
    // The stall and what was owed before it are gone.
    EXPECT_EQ(mainLoopPass(9016), 0);
    EXPECT_EQ(mainLoopPass(9017), 1);
}

TEST_F(MainLoop, TheTickCounterMayWrapBetweenPasses)
{
    mainLoopReset(0x7FFFFFF0);
    EXPECT_EQ(mainLoopPass((int)0x80000010u), 1); // 32 ms later
}
