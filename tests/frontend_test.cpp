// The front end driven as a player drives it: key events pushed into SDL's
// queue, one input() and one logic() per step, and a frame drawn after every
// step that leaves no mode change pending, as the main loop does. Each test
// runs in a fresh copy of ./data, so the settings file and the levels it
// rewrites are copies.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sdl_events.h"
#include "test_util.h"

namespace {

// The keys of the shipped data/config.cfg, by logical button.
const SDLKey SHIPPED_KEYS[9] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_z,
                                SDLK_x, SDLK_RETURN, SDLK_BACKSPACE, SDLK_ESCAPE};
// Not there yet: the editor makes a new level for it.
const char *const MADE = "data/maps/made.map";
const int EDIT_X = 2; // a cell of the new level's empty sky

class Frontend : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<InDirectory> inDir;

    void SetUp() override
    {
        const std::string copy = "cp -r '" KETTLEMOOR_SOURCE_DIR "/data' '" + dir.path + "/'";
        ASSERT_EQ(system(copy.c_str()), 0);
        inDir = std::make_unique<InDirectory>(dir.path);
        ASSERT_EQ(initSDL(), 0);
        startEventQueue();
        newGameMode = MODE_INTRO;
        stepGame();
        ASSERT_EQ(keyMapping[OK], SHIPPED_KEYS[OK]) << "the intro's first step reads the settings";
        tap(OK); // each splash
        tap(OK);
        ASSERT_EQ(drawTitle, 1);
    }

    void TearDown() override
    {
        resetGame();
        inDir.reset();
    }

    // A tap of a logical button's shipped key: pressed in one step, released in the next.
    static void tap(int button, int times = 1)
    {
        for (int i = 0; i < times; i++) {
            pushKeyTap(SHIPPED_KEYS[button]);
            stepGame();
            stepGame();
        }
    }

    // OK on the title: the title is still shown in that step, the page from the next.
    static void dismissTitle()
    {
        pushKey(SDL_KEYDOWN, SHIPPED_KEYS[OK]);
        stepGame();
        EXPECT_EQ(drawTitle, 1);
        pushKey(SDL_KEYUP, SHIPPED_KEYS[OK]);
        stepGame();
        EXPECT_EQ(drawTitle, 0);
    }

    static std::string selected() { return curMenu->menuChoices[curMenu->selectedIndex]; }
};

} // namespace

TEST_F(Frontend, AfterTheEditorOrAGameTheTitleComesBackThenThePageAndCursorLastUsed)
{
    dismissTitle();
    tap(DOWN);
    tap(OK);
    ASSERT_EQ(gameMode, MODE_EDITOR);
    tap(MENU);
    EXPECT_EQ(drawTitle, 1);
    tap(DOWN); // ignored on the title
    dismissTitle();
    EXPECT_EQ(selected(), "Editor");

    // "New Game", a few steps of play, pause, and quit.
    tap(UP);
    tap(OK);
    ASSERT_EQ(gameMode, MODE_INGAME);
    for (int i = 0; i < 10; i++)
        stepGame();
    tap(OK, 2);
    EXPECT_EQ(drawTitle, 1);
    dismissTitle();
    EXPECT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "New Game");
}

// The demo level behind the title has creatures and a next level; a level
// made in the editor after it has neither.
TEST_F(Frontend, ALevelMadeInTheEditorIsSavedOnOkWithNothingOfTheDemoAndIsPlayedByNewGame)
{
    mapFile = strdup(MADE);
    dismissTitle();
    tap(DOWN); // "Editor"
    tap(OK);
    ASSERT_EQ(gameMode, MODE_EDITOR);
    tap(RIGHT, EDIT_X);
    tap(JUMP);
    tap(RIGHT, 3);
    tap(JUMP);
    EXPECT_EQ(printed([] { tap(OK); }).rfind("Saving map\n", 0), 0u);
    EXPECT_EQ(gameMode, MODE_MENU);
    EXPECT_FALSE(fileExists(std::string(MADE) + ".tmp"));
    const std::string saved = readFile(MADE);
    EXPECT_NE(saved.find("\nNEXT: \n"), std::string::npos);
    EXPECT_EQ(saved.substr(saved.size() - 9), "OBJECTS:\n");

    dismissTitle();
    tap(UP); // "New Game"
    pushKey(SDL_KEYDOWN, SHIPPED_KEYS[OK]);
    stepGame();
    stepGame(); // the game's first step
    ASSERT_EQ(gameMode, MODE_INGAME);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][0], 3);
}
