// The title screen's menu pages: navigation, page changes and the remapping
// page's sequence of nine captures.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>
#include <string>

#include "input.h"
#include "menu.h"
#include "test_util.h"

namespace {

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMenu();
        menuCreate();
    }
    void TearDown() override { resetMenu(); }

    static void resetMenu()
    {
        menuInited = 0;
        curMenu = nullptr;
        menuState = 0;
        remapCurKey = 0;
        remapDevice = 0;
        memset(&keyPress, 0, sizeof keyPress);
    }

    // One menu step with the given button freshly pressed; returns its result.
    static int press(int button)
    {
        keyPress.key[button] = 1;
        int result = menuUpdate();
        EXPECT_EQ(keyPress.key[button], 0) << "the press must be consumed";
        return result;
    }

    static std::string selected()
    {
        return curMenu->menuChoices[curMenu->selectedIndex];
    }

    void remapsNineButtonsInOrder(int device);
};

// Feeds the key capture of a remapping: one key press per button, queued
// ahead so the capture never waits.
void queueKeyPresses(const int *syms, int count)
{
    for (int i = 0; i < count; i++) {
        SDL_Event e;
        memset(&e, 0, sizeof e);
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = (SDLKey)syms[i];
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
}

} // namespace

// Remapping asks for the nine buttons in order, one capture per step, stays on
// the remapping page until the last one and then returns to the controls page
// with its cursor; the other device's half of the table is left alone.
void MenuTest::remapsNineButtonsInOrder(int device)
{
    TempDir dir;
    ASSERT_EQ(mkdir((dir.path + "/data").c_str(), 0755), 0);
    InDirectory inDir(dir.path);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);

    int others[18];
    int otherBase = device == 1 ? K_UP : J_UP;
    for (int i = 0; i < 18; i++)
        keyMapping[i] = 1000 + i;
    memcpy(others, keyMapping, sizeof others);

    const int syms[9] = {SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_j, SDLK_k, SDLK_RETURN,
                         SDLK_BACKSPACE, SDLK_ESCAPE};
    queueKeyPresses(syms, 9);

    _menuSet(2, 1);
    if (device == 1)
        press(DOWN);
    EXPECT_EQ(press(OK), 0);
    EXPECT_EQ(menuState, 1);
    EXPECT_EQ(remapDevice, device);
    EXPECT_EQ(remapCurKey, 0);

    for (int step = 1; step <= 9; step++) {
        EXPECT_EQ(menuUpdate(), 0);
        if (step < 9) {
            EXPECT_EQ(menuState, 1) << "after capture " << step;
            EXPECT_EQ(remapCurKey, step);
            EXPECT_FALSE(fileExists("data/config.cfg")) << "saved before the last button";
        }
    }
    EXPECT_EQ(menuState, 0);
    EXPECT_EQ(remapCurKey, 0);
    EXPECT_EQ(curMenu, &contMenu);
    EXPECT_EQ(selected(), device == 1 ? "Joystick" : "Keyboard");
    for (int i = otherBase; i < otherBase + 9; i++)
        EXPECT_EQ(keyMapping[i], others[i]) << "entry " << i << " belongs to the other device";

    // Back to navigating: the next press moves the cursor again.
    press(UP);
    EXPECT_EQ(selected(), device == 1 ? "Keyboard" : "Back");

    SDL_Quit();
    memset(keyMapping, 0, sizeof keyMapping);
}

TEST_F(MenuTest, TheTitleStaysUntilOkAndConsumesThatPress)
{
    EXPECT_EQ(menuLogo(), 1);
    keyPress.key[BACK] = 1;
    EXPECT_EQ(menuLogo(), 1);
    keyPress.key[OK] = 1;
    EXPECT_EQ(menuLogo(), 0);
    EXPECT_EQ(keyPress.key[OK], 0);
    EXPECT_EQ(keyPress.key[BACK], 1);
}

TEST_F(MenuTest, TheMainPageWrapsRoundAndHandsItsChoicesToTheModeLogic)
{
    ASSERT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "New Game");
    EXPECT_EQ(press(UP), 0);
    EXPECT_EQ(selected(), "Exit");
    EXPECT_EQ(press(DOWN), 0);
    EXPECT_EQ(selected(), "New Game");

    EXPECT_EQ(press(OK), 1);
    press(DOWN);
    EXPECT_EQ(selected(), "Editor");
    EXPECT_EQ(press(OK), 3);
    press(UP);
    press(UP);
    EXPECT_EQ(selected(), "Exit");
    EXPECT_EQ(press(OK), 4);
    EXPECT_EQ(curMenu, &mainMenu);
}

TEST_F(MenuTest, TheCursorSkipsGapLinesInBothDirections)
{
    _menuSet(1, 1);
    press(DOWN);
    press(DOWN);
    EXPECT_EQ(selected(), "Video");
    press(DOWN);
    EXPECT_EQ(selected(), "Back");
    press(UP);
    EXPECT_EQ(selected(), "Video");

    _menuSet(2, 1);
    EXPECT_EQ(selected(), "Keyboard");
    press(UP);
    EXPECT_EQ(selected(), "Back");
    press(DOWN);
    EXPECT_EQ(selected(), "Keyboard");
    press(DOWN);
    EXPECT_EQ(selected(), "Joystick");
    press(DOWN);
    EXPECT_EQ(selected(), "Back");
}

TEST_F(MenuTest, SoundMusicAndVideoCanBeChosenButDoNothing)
{
    _menuSet(1, 1);
    press(DOWN);
    EXPECT_EQ(selected(), "Sound/Music");
    EXPECT_EQ(press(OK), 0);
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Sound/Music");
    press(DOWN);
    EXPECT_EQ(press(OK), 0);
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Video");
    EXPECT_EQ(menuState, 0);
}

TEST_F(MenuTest, OpeningAPageStartsAtItsTopAndBackKeepsTheCursor)
{
    press(UP);
    press(UP); // "Options"
    EXPECT_EQ(press(OK), 0);
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Controls");

    // Leave the options page from "Back" and come again: the top entry again.
    press(UP);
    EXPECT_EQ(selected(), "Back");
    press(OK);
    EXPECT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "Options");
    press(OK);
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Controls");

    // Controls page, then "Back" twice lands on the entries that opened them.
    press(OK);
    EXPECT_EQ(curMenu, &contMenu);
    press(UP);
    EXPECT_EQ(selected(), "Back");
    press(OK);
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Controls");
    press(UP);
    press(OK);
    EXPECT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "Options");
}

TEST_F(MenuTest, PagesAndCursorSurviveLeavingAndReenteringTheMenu)
{
    press(UP);
    press(UP);
    press(OK);
    press(DOWN);
    press(DOWN);
    ASSERT_EQ(selected(), "Video");

    // The menu mode calls menuCreate on every step of every visit.
    menuCreate();
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Video");
    EXPECT_EQ(mainMenu.selectedIndex, 2);
}

TEST_F(MenuTest, KeyboardRemappingAsksNineButtonsAndLeavesTheJoystickHalf)
{
    remapsNineButtonsInOrder(0);
}

TEST_F(MenuTest, JoystickRemappingAsksNineButtonsAndLeavesTheKeyboardHalf)
{
    remapsNineButtonsInOrder(1);
}

TEST_F(MenuTest, AQuitDuringRemappingEndsItThereAndSavesNothing)
{
    TempDir dir;
    ASSERT_EQ(mkdir((dir.path + "/data").c_str(), 0755), 0);
    InDirectory inDir(dir.path);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    for (int i = 0; i < 18; i++)
        keyMapping[i] = 1000 + i;
    newGameMode = MODE_MENU;

    // Two buttons are captured, then the window is closed during the third.
    const int syms[2] = {SDLK_w, SDLK_s};
    queueKeyPresses(syms, 2);
    SDL_Event quitEvent;
    memset(&quitEvent, 0, sizeof quitEvent);
    quitEvent.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quitEvent), 0);

    _menuSet(2, 1);
    press(OK);
    testing::internal::CaptureStdout();
    for (int step = 0; step < 3; step++)
        EXPECT_EQ(menuUpdate(), 0);
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(newGameMode, MODE_EXIT);
    EXPECT_EQ(keyMapping[K_UP], SDLK_w);
    EXPECT_EQ(keyMapping[K_DOWN], SDLK_s);
    EXPECT_EQ(keyMapping[K_LEFT], 1000 + K_LEFT);
    EXPECT_EQ(remapCurKey, 2);
    EXPECT_FALSE(fileExists("data/config.cfg"));

    SDL_Quit();
    memset(keyMapping, 0, sizeof keyMapping);
    newGameMode = MODE_EXIT;
}
