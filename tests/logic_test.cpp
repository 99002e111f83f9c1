// The game-mode state machine, driven step by step as the main loop does:
// one input() and one logic() per step, with events pushed into SDL's queue.
#include <algorithm>
#include <tuple>

#include "camera.h"
#include "sdl_events.h"
#include "test_util.h"

// n logic steps of the main loop.
static void step(int n = 1)
{
    while (n-- > 0) { input(); logic(); }
}

// Return is OK and Backspace is BACK.
struct Logic : testing::Test {
    void SetUp() override { startEventQueue(); keyMapping[K_OK] = SDLK_RETURN; keyMapping[K_BACK] = SDLK_BACKSPACE; }
    void TearDown() override { resetGame(); }
};

TEST_F(Logic, TheIntroLasts361StepsAndOkSkipsToTheSecondSplashThenEndsIt)
{
    newGameMode = MODE_INTRO;
    step(360);
    EXPECT_EQ(std::tuple(introController, newGameMode), std::tuple(359, MODE_INTRO));
    step();
    EXPECT_EQ(newGameMode, MODE_MENU);

    newGameMode = MODE_INTRO;
    step();
    pushClick(SDL_BUTTON_LEFT);
    step();
    EXPECT_EQ(introController, 181); // the second splash, at once, for 179 more steps
    step(178);
    EXPECT_EQ(newGameMode, MODE_INTRO);
    pushKeyTap(SDLK_RETURN); // or until OK
    step();
    EXPECT_EQ(newGameMode, MODE_MENU);
}

// Pausing, resuming and quitting from the pause are pinned by the route
// pause_quit; what no route does is here.
TEST_F(Logic, OkWhileDyingIsSwallowedAndOkWithBackInOnePausedStepQuits)
{
    newGameMode = MODE_INGAME;
    step();
    ingameState = INGAME_DYING;
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    step();
    EXPECT_EQ(std::tuple(ingameState, keyPress.key[OK]), std::tuple(INGAME_DYING, 0));

    ingameState = INGAME_PAUSED; // OK is seen first
    keyPress.key[OK] = keyPress.key[BACK] = 1;
    logic();
    EXPECT_EQ(newGameMode, MODE_MENU);
}

TEST_F(Logic, WinningLeavesTheGameAndOkOnTheWonScreenReturnsToTheMenuForAFreshGame)
{
    newGameMode = MODE_INGAME;
    step();
    newGameMode = MODE_WON; // the player reaches the exit with the key during this step
    logicInGame();
    step(2);
    EXPECT_EQ(newGameMode, MODE_WON);
    pushClick(SDL_BUTTON_LEFT);
    step();
    EXPECT_EQ(newGameMode, MODE_MENU);

    ingameState = INGAME_PAUSED;
    player.x = 999; player.direction = 0; hasKey = 1;
    newGameMode = MODE_INGAME; // "New Game" after winning starts afresh, at the start, facing right
    step();
    EXPECT_EQ(std::tuple(ingameState, player.x, player.direction, hasKey),
              std::tuple(INGAME_PLAYING, curLvl.start.x * (float)TILE_SIZE, 1, 0));
}

TEST_F(Logic, TheDemoLevelBehindTheTitleScrollsUntilItsRightEdgeMeetsTheScreens)
{
    newGameMode = MODE_MENU;
    int furthest = 0;
    printed([&] {
        for (int i = 0; i < 2000; i++) {
            step();
            furthest = std::max(furthest, camera.x + camera.w);
        }
    });
    EXPECT_EQ(furthest, curLvl.layer0.w * TILE_SIZE);
}
