// The game-mode state machine, driven step by step as the main loop does:
// one input() and one logic() per step, with events pushed into SDL's queue.
#include <gtest/gtest.h>

#include <cstring>

#include "camera.h"
#include "global.h"
#include "input.h"
#include "intro.h"
#include "logic.h"
#include "map.h"
#include "menu.h"
#include "sdl_events.h"

namespace {

class Logic : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetGame();
        startEventQueue();
    }
    void TearDown() override
    {
        SDL_Quit();
        resetGame();
    }

    static void resetGame()
    {
        logicReset();
        memset(keyMapping, 0, sizeof keyMapping);
        memset(&keyPress, 0, sizeof keyPress);
        gameMode = MODE_EXIT;
        newGameMode = MODE_EXIT;
        quit = 0;
        ingameState = 0;
        introController = 0;
    }

    // One logic step of the main loop.
    static void step()
    {
        input();
        logic();
    }

    // Steps into mode with a keyboard mapping for OK and BACK.
    static void enter(gameModeEnum mode)
    {
        newGameMode = mode;
        step();
        keyMapping[K_OK] = SDLK_RETURN;
        keyMapping[K_BACK] = SDLK_BACKSPACE;
    }

    // A key tap takes two steps: the press, then the release.
    static void tap(SDLKey sym)
    {
        pushKeyTap(sym);
        step();
        step();
    }
};

} // namespace

TEST_F(Logic, TheIntroShowsEachSplashFor180StepsAndEndsAtStep361)
{
    newGameMode = MODE_INTRO;
    step();
    EXPECT_EQ(gameMode, MODE_INTRO);
    EXPECT_EQ(introController, 0);
    EXPECT_EQ(keyMapping[K_OK], SDLK_RETURN); // the shipped settings were read

    for (int stepNo = 2; stepNo <= 360; stepNo++) {
        step();
        ASSERT_EQ(introController, stepNo - 1);
        ASSERT_EQ(newGameMode, MODE_INTRO) << "step " << stepNo;
    }
    step();
    EXPECT_EQ(introController, 360);
    EXPECT_EQ(newGameMode, MODE_MENU);
    EXPECT_EQ(gameMode, MODE_INTRO);
    step();
    EXPECT_EQ(gameMode, MODE_MENU);
}

TEST_F(Logic, OkOnTheFirstSplashShowsTheSecondAndOkOnTheSecondEndsTheIntro)
{
    newGameMode = MODE_INTRO;
    step();
    step();
    ASSERT_EQ(introController, 1);

    pushClick(SDL_BUTTON_LEFT);
    step();
    EXPECT_EQ(introController, 181);
    EXPECT_EQ(keyPress.key[OK], 0);
    EXPECT_EQ(newGameMode, MODE_INTRO);
    step(); // the release
    EXPECT_EQ(introController, 182);

    pushKeyTap(SDLK_RETURN);
    step();
    EXPECT_EQ(introController, 361);
    EXPECT_EQ(keyPress.key[OK], 0);
    EXPECT_EQ(newGameMode, MODE_MENU);
}

TEST_F(Logic, OkPausesBackResumesAndOkWhilePausedQuitsToTheMenu)
{
    enter(MODE_INGAME);
    EXPECT_EQ(gameMode, MODE_INGAME);
    EXPECT_EQ(ingameState, INGAME_PLAYING);

    tap(SDLK_RETURN);
    EXPECT_EQ(ingameState, INGAME_PAUSED);
    tap(SDLK_BACKSPACE);
    EXPECT_EQ(ingameState, INGAME_PLAYING);
    tap(SDLK_BACKSPACE); // BACK while playing is consumed without effect
    EXPECT_EQ(ingameState, INGAME_PLAYING);
    EXPECT_EQ(keyPress.key[BACK], 0);

    tap(SDLK_RETURN);
    ASSERT_EQ(ingameState, INGAME_PAUSED);
    pushKeyTap(SDLK_RETURN);
    step();
    EXPECT_EQ(newGameMode, MODE_MENU);
    EXPECT_EQ(gameMode, MODE_INGAME);
    EXPECT_EQ(keyPress.key[OK], 0);

    // The next game starts afresh.
    newGameMode = MODE_INGAME;
    step();
    EXPECT_EQ(ingameState, INGAME_PLAYING);
}

TEST_F(Logic, OkWhileDyingIsConsumedAndOkOnGameOverReturnsToTheMenu)
{
    enter(MODE_INGAME);
    ingameState = INGAME_DYING;
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    step();
    EXPECT_EQ(ingameState, INGAME_DYING);
    EXPECT_EQ(keyPress.key[OK], 0);
    EXPECT_EQ(newGameMode, MODE_INGAME);
    pushKey(SDL_KEYUP, SDLK_RETURN);
    step();

    ingameState = INGAME_GAME_OVER;
    tap(SDLK_BACKSPACE);
    EXPECT_EQ(ingameState, INGAME_GAME_OVER);
    EXPECT_EQ(newGameMode, MODE_INGAME);
    pushClick(SDL_BUTTON_LEFT);
    step();
    EXPECT_EQ(newGameMode, MODE_MENU);
}

TEST_F(Logic, AKeyForBothOkAndBackPausesAndResumesInTheSameStep)
{
    enter(MODE_INGAME);
    keyMapping[K_BACK] = SDLK_RETURN;
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    step();
    EXPECT_EQ(ingameState, INGAME_PLAYING);
    EXPECT_EQ(keyPress.key[OK], 0);
    EXPECT_EQ(keyPress.key[BACK], 0);
    EXPECT_EQ(newGameMode, MODE_INGAME);
}

TEST_F(Logic, WinningEndsTheGameAndOkOnTheWonScreenReturnsToTheMenu)
{
    enter(MODE_INGAME);
    // The player reaches the exit with the key during this step.
    newGameMode = MODE_WON;
    logicInGame();
    step();
    EXPECT_EQ(gameMode, MODE_WON);

    step();
    EXPECT_EQ(newGameMode, MODE_WON);
    pushClick(SDL_BUTTON_LEFT);
    step();
    EXPECT_EQ(newGameMode, MODE_MENU);
    EXPECT_EQ(keyPress.key[OK], 0);

    // "New Game" after winning initialises the game again.
    ingameState = INGAME_PAUSED;
    newGameMode = MODE_INGAME;
    step();
    EXPECT_EQ(ingameState, INGAME_PLAYING);
}

TEST_F(Logic, TheMenuShowsTheTitleAndScrollsTheDemoLevelToItsRightEdge)
{
    enter(MODE_MENU);
    EXPECT_EQ(drawTitle, 1);

    // On a demo level of 20 x 10 tiles (320 x 160 pixels) the 160 x 120
    // camera scrolls to x = 160, the right edge, and starts over.
    const int demoW = curLvl.layer0.w;
    const int demoH = curLvl.layer0.h;
    curLvl.layer0.w = 20;
    curLvl.layer0.h = 10;
    camera = {0, 30, 160, 120};
    for (int x = 1; x <= 160; x++) {
        step();
        ASSERT_EQ(camera.x, x);
    }
    step();
    EXPECT_EQ(camera.x, 0);
    EXPECT_EQ(drawTitle, 1);
    curLvl.layer0.w = demoW;
    curLvl.layer0.h = demoH;
}

TEST_F(Logic, TheHighScoreModeReturnsToTheMenuAtOnce)
{
    enter(MODE_HISCORE);
    EXPECT_EQ(gameMode, MODE_HISCORE);
    EXPECT_EQ(newGameMode, MODE_MENU);
}

TEST_F(Logic, TheExitModeAndTheWindowCloseEndTheLoop)
{
    newGameMode = MODE_EXIT;
    step();
    EXPECT_EQ(quit, 1);

    quit = 0;
    enter(MODE_WON);
    pushWindowClose();
    step();
    EXPECT_EQ(gameMode, MODE_EXIT);
    EXPECT_EQ(quit, 1);

    // A mode outside the table does nothing at all.
    quit = 0;
    newGameMode = static_cast<gameModeEnum>(7);
    step();
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(newGameMode, 7);
}
