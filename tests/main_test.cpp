// The command line (what each switch prints and where) and the fixed-step
// main loop's accounting of logic steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "sdl_events.h"
#include "test_util.h"

static const std::string UNKNOWN = "\", try -help for the list of available commands\n";

// Runs the whole program on words, which must end it before the loop, or only
// its switch reading; returns what it printed, "stdout|stderr".
static std::string run(std::vector<std::string> words, bool switchesOnly = false)
{
    std::vector<char *> argv = {(char *)"kettlemoor"};
    for (std::string &w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    const int argc = (int)argv.size() - 1;
    if (switchesOnly)
        return printed([&] { mainReadSwitches(argc, argv.data()); });
    return printed([&] { EXPECT_EQ(gameMain(argc, argv.data()), 0); });
}

// -help opens with the version line, and every line after it names a switch
// (long and short form, before its first tab) that the game takes and the
// README's command-line table documents.
TEST(CommandLine, HelpOpensWithTheVersionAndNamesSwitchesTheGameTakesAndTheReadmeDocuments)
{
    resetGame();
    const std::string version = run({"-version"}, true), help = run({"-help"}, true);
    const std::string readme = readFile(KETTLEMOOR_SOURCE_DIR "/README.md");
    const size_t table = readme.find("| Switch |");
    EXPECT_TRUE(std::regex_match(version, std::regex("Kettlemoor version [0-9]+\\.[0-9]+\\.[0-9]+\n\\|")));
    ASSERT_EQ(help.rfind(version.substr(0, version.size() - 1), 0), 0u) << help;
    const std::regex line("\n(-[a-z]+) or (-[a-z]+)[^\t\n]*\t");
    long named = 0;
    for (std::sregex_iterator m(help.begin(), help.end(), line), end; m != end; ++m, named++)
        for (const std::string word : {(*m)[1], (*m)[2]}) {
            EXPECT_NE(readme.find("`" + word, table), std::string::npos) << word << " is not in the README's table";
            EXPECT_EQ(run({word}, true).find("Unknown command"), std::string::npos) << word;
        }
    EXPECT_EQ(named, std::count(help.begin(), help.end(), '\n') - 1) << help;
    EXPECT_GE(named, 5);
    resetGame();
}

TEST(CommandLine, SwitchesPrintOnTheirStreamsAndTheProgramAlwaysEndsWithStatusZero)
{
    resetGame();
    const std::string help = run({"-h"}, true), version = run({"-v"}, true);
    const std::string both = help.substr(0, help.size() - 1) + version.substr(0, version.size() - 1);
    resetGame();
    const struct { std::vector<std::string> args; std::string printed; } cases[] = {
        {{"-h", "-v"}, both + "|"},
        {{"-help", "-version", "-H"}, both + "Unknown command \"-H" + UNKNOWN + "|"},
        {{"level", "-x"}, "Unknown command \"-x" + UNKNOWN + "|"},
        {{"-res", "320"}, "|Not enough arguments for -res\n"},
        {{"-r", "320", "-240"}, "Unknown command \"-240" + UNKNOWN + "|Not enough arguments for -r\n"},
        {{"-s"}, "|Not enough arguments for -s\n"},
        // Extraction opens video with the switches before it, then ends the program.
        {{"-r", "200", "150", "-extract", "data/maps/tiles01col.bmp", "/nonexistent/out.col"},
         "400x300 16bpp (200x150, x2)\n|ERROR: (saveCollisionLayer) Can't open /nonexistent/out.col: No such file or directory\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.args), c.printed) << c.args[0];
        resetGame();
    }
    mapFileNext = strdup("map02.map"); // read from a level, without any -map
    run({"-v"});
    EXPECT_EQ(mapFileNext, nullptr);

    // The last map named is used; a missing one leaves the default and still starts the game.
    EXPECT_EQ(run({"-m", "a.map", "-map", "b.map"}, true), "Loading map: a.map\nLoading map: b.map\n|");
    EXPECT_STREQ(mapFile, "b.map");
    resetGame();
    EXPECT_EQ(run({"-m"}, true), "|Not enough arguments for -m\n");
    EXPECT_EQ(mapFile, nullptr);
    EXPECT_EQ(quit, 0);
}

TEST(MainLoop, EachPassRunsTheStepsThatFellDueThenDrawsAndAResetRunsExactlyOne)
{
    resetGame();
    printed(initSDL); // a frame is drawn after steps
    // Elapsed ms from an empty accumulator, and the steps it pays for.
    const int cases[][2] = {{16, 0}, {17, 1}, {50, 2}, {51, 3}, {100, 5}, {101, 6}};
    for (const auto &c : cases) {
        mainLoopReset(1000);
        EXPECT_EQ(mainLoopPass(1000 + c[0]), c[1]) << c[0] << " ms";
        EXPECT_EQ(mainLoopDrawPending(), 0) << c[0] << " ms"; // drawn, or nothing to draw
    }
    mainLoopReset(0);
    EXPECT_EQ(mainLoopPass(50), 2);
    EXPECT_EQ(mainLoopPass(51), 1); // the 16.67 ms left over carried to this pass
    resetFrameSkip();
    EXPECT_EQ(mainLoopPass(9000), 1); // a long stall in the key capture
    EXPECT_EQ(mainLoopPass(9016), 0); // the stall and what was owed before it are gone
    resetGame();
}
