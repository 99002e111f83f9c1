// The front end driven as a player drives it: key events pushed into SDL's
// queue, one input() and one logic() per step, and a frame drawn after every
// step that leaves no mode change pending, as the main loop does. It runs in
// a fresh copy of ./data, so the settings file and the level it writes are
// copies.
#include <gtest/gtest.h>

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

// A tap of a logical button's shipped key: pressed in one step, released in the next.
void tap(int button, int times = 1)
{
    for (int i = 0; i < times; i++) {
        pushKeyTap(SHIPPED_KEYS[button]);
        stepGame();
        stepGame();
    }
}

// OK on the title: the title is still shown in that step, the page from the next.
void dismissTitle()
{
    pushKey(SDL_KEYDOWN, SHIPPED_KEYS[OK]);
    stepGame();
    EXPECT_EQ(drawTitle, 1);
    pushKey(SDL_KEYUP, SHIPPED_KEYS[OK]);
    stepGame();
    EXPECT_EQ(drawTitle, 0);
}

std::string selected() { return curMenu->menuChoices[curMenu->selectedIndex]; }

} // namespace

// The demo level behind the title has creatures and a next level; a level
// made in the editor after it has neither. After the editor, and after a
// game, the title comes back, then the menu page with the cursor last used.
TEST(Frontend, ALevelMadeInTheEditorIsSavedWithNothingOfTheDemoAndPlayedAndTheMenuKeepsItsCursor)
{
    resetGame(); // whatever an earlier test left of the editor and the buttons
    TempDir dir;
    ASSERT_EQ(system(("cp -r '" KETTLEMOOR_SOURCE_DIR "/data' '" + dir.path + "/'").c_str()), 0);
    InDirectory inDir(dir.path);
    ASSERT_EQ(initSDL(), 0);
    startEventQueue();
    mapFile = strdup(MADE);
    newGameMode = MODE_INTRO;
    stepGame();
    ASSERT_EQ(keyMapping[OK], SHIPPED_KEYS[OK]) << "the intro's first step reads the settings";
    tap(OK, 2); // each splash
    dismissTitle();
    tap(DOWN); // "Editor"
    tap(OK);
    ASSERT_EQ(gameMode, MODE_EDITOR);
    tap(RIGHT, EDIT_X);
    tap(JUMP);
    tap(RIGHT, 3);
    tap(JUMP);
    EXPECT_EQ(printed([] { tap(OK); }).rfind("Saving map\n", 0), 0u);
    EXPECT_EQ(snapshot("data/maps").size(), snapshot(KETTLEMOOR_SOURCE_DIR "/data/maps").size() + 1)
        << "the level made, and no temporary file";
    const std::string saved = readFile(MADE);
    EXPECT_NE(saved.find("\nNEXT: \n"), std::string::npos);
    EXPECT_EQ(saved.substr(saved.size() - 9), "OBJECTS:\n");

    EXPECT_EQ(drawTitle, 1);
    tap(DOWN); // ignored on the title
    dismissTitle();
    EXPECT_EQ(selected(), "Editor");
    tap(UP); // "New Game"
    tap(OK);
    ASSERT_EQ(gameMode, MODE_INGAME);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][0], 3);
    for (int i = 0; i < 10; i++)
        stepGame();
    tap(OK, 2); // pause, and quit
    EXPECT_EQ(drawTitle, 1);
    dismissTitle();
    EXPECT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "New Game");
    resetGame();
}
