// The campaign: the chain of levels through their NEXT: lines, the title's
// choice among the levels reached, the won screen's offer, and the progress
// file. The routes front_end_campaign and front_end_game_over_retry pin the
// screens as a player meets them.
#include <algorithm>
#include <tuple>
#include <vector>

#include "campaign.h"
#include "fileio.h"
#include "sdl_events.h"
#include "test_util.h"

namespace {

// Every case runs in a scratch folder with its own data/maps/.
struct Campaign : testing::Test {
    TempDir dir;
    InDirectory inDir{dir.path};
    void SetUp() override
    {
        resetGame();
        ASSERT_EQ(mkdir("data", 0755) | mkdir("data/maps", 0755) | mkdir("data/maps/folder.map", 0755), 0);
        mapFile = strdup("data/maps/a.map");
    }
    void TearDown() override
    {
        chmod("data", 0755);
        resetGame();
    }

    // A level whose header names it and the level after it.
    static void level(const std::string &file, const std::string &name, const std::string &next)
    {
        writeFile("data/maps/" + file, "NAME: " + name + "\nLAYER0_SIZE: 2 1\nNEXT: " + next + "\nMAP:\n0 0\n");
    }

    // The progress file's entries, once its first line has said it is generated.
    static std::string progress()
    {
        std::istringstream in(readFile("data/progress.txt"));
        std::string line, entries;
        std::getline(in, line);
        EXPECT_EQ(line.rfind("#This file was generated", 0), 0u) << line;
        while (std::getline(in, line))
            if (line[0] != '#')
                entries += line + "\n";
        return entries;
    }

    // The title's line after a press of button, or without one.
    static std::string titleAfter(int button = -1)
    {
        if (button >= 0)
            keyPress.key[button] = 1;
        campaignTitleStep();
        return campaignTitleLine();
    }
};

} // namespace

TEST_F(Campaign, TheTitleChoosesAmongLevelsReachedAlongTheChainWhichStopsWhereItComesRound)
{
    level("a.map", "Fen Gate", "b.map");
    level("b.map", "Bog Lane", "a.map");
    campaignTitleStart();
    EXPECT_EQ(std::tuple(titleAfter(RIGHT), std::string(mapLevelFile())), std::tuple("Fen Gate", "data/maps/a.map"));

    printed([] { campaignRecordWin("data/maps/a.map"); });
    keyPress.key[LEFT] = 1; // held since play: no choice until pressed anew
    campaignTitleStart();
    EXPECT_EQ(titleAfter(), "< Fen Gate >");
    keyPress.key[LEFT] = 0;
    EXPECT_EQ(titleAfter(RIGHT), "< Bog Lane >");
    EXPECT_STREQ(mapLevelFile(), "data/maps/b.map");
    // b leads back to a, which the chain holds already: two levels, wrapping both ways.
    const std::vector<std::string> lines = {titleAfter(RIGHT), titleAfter(LEFT), titleAfter(LEFT)};
    EXPECT_EQ(lines, (std::vector<std::string>{"< Fen Gate >", "< Bog Lane >", "< Fen Gate >"}));
    EXPECT_EQ(mapChosenFile, nullptr); // the first level is played by its own path again
}

TEST_F(Campaign, TheWonScreenOffersOnlyANextLevelThatLoadsAndOtherThanItself)
{
    writeFile("data/maps/notes.map", "NAME: Notes\nsome words, no grid\n");
    level("b.map", "Bog Lane", "");
    const struct { const char *next, *line; } cases[] = {
        {"b.map", "JUMP: Bog Lane"}, {"", "The moor is crossed!"}, {"gone.map", ""},
        {"folder.map", ""},          {"notes.map", ""},            {"a.map", ""}};
    for (const auto &c : cases) {
        level("a.map", "Fen Gate", c.next);
        keyPress.key[JUMP] = 1; // the jump into the door, still held
        const std::string said = printed([] { campaignWonStart(); });
        EXPECT_EQ(std::tuple(std::string(campaignWonLine()), campaignWonJump()), std::tuple(c.line, 0)) << c.next;
        keyPress.key[JUMP] = 0;
        campaignWonJump();
        keyPress.key[JUMP] = 1;
        EXPECT_EQ(campaignWonJump(), c.line[0] == 'J') << c.next;
        EXPECT_EQ(said.find("WARNING") != std::string::npos, c.line[0] == '\0') << said;
        mapChooseLevelFile(nullptr);
    }
    EXPECT_EQ(progress(), "WON a.map\n"); // won six times, written once
}

TEST_F(Campaign, ProgressIsWrittenAtEachFirstWinOnlyAndADamagedOrUnwritableFileIsSaidOnce)
{
    level("a.map", "Fen Gate", "b.map");
    level("b.map", "Bog Lane", "");
    EXPECT_EQ(printed([] { campaignTitleStart(); }), "|"); // no file yet: nothing to say
    EXPECT_EQ(printed([] { campaignRecordWin("data/maps/a.map"); }), "Saving progress\n|");
    unlink("data/progress.txt");
    printed([] { campaignRecordWin("data/maps/../maps/a.map"); campaignTitleStart(); });
    EXPECT_FALSE(fileExists("data/progress.txt")); // a second win of one level writes nothing
    printed([] { campaignRecordWin("data/maps/b.map"); });
    EXPECT_EQ(progress(), "WON a.map\nWON b.map\n");

    campaignReset();
    writeFile("data/progress.txt", "WON a.map\nWON\n");
    const std::string said = printed([] { campaignTitleStart(); });
    EXPECT_EQ(std::tuple(said.find("damaged at line 2") != std::string::npos, std::count(said.begin(), said.end(), '\n'),
                         campaignHasWon("data/maps/a.map")),
              std::tuple(true, 1, 0));
    printed([] { campaignRecordWin("data/maps/b.map"); });
    EXPECT_EQ(progress(), "WON b.map\n");

    // A data folder that cannot be written; root writes anywhere, so for root
    // the file is a link to a folder that does not exist.
    campaignReset();
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(unlink("data/progress.txt") | symlink("gone/progress.txt", "data/progress.txt"), 0);
    }
    chmod("data", 0555);
    const std::string failed =
        printed([] { campaignRecordWin("data/maps/a.map"); campaignRecordWin("data/maps/b.map"); });
    const size_t note = failed.find("kept for this run only");
    EXPECT_EQ(std::tuple(note != std::string::npos, note == failed.rfind("kept for this run only"),
                         campaignHasWon("data/maps/a.map"), campaignHasWon("data/maps/b.map")),
              std::tuple(true, true, 1, 1)) << failed;
    if (!root) {
        EXPECT_EQ(progress(), "WON b.map\n");
    }
}
