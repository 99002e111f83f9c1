// The game-mode state machine where no script can reach: presses that arrive
// together or while dying. The splash screens, the title, a win and New Game
// after it are pinned by the front end scripts in tests/routes/.
#include <tuple>

#include "sdl_events.h"
#include "test_util.h"

// Return is OK and Backspace is BACK.
struct Logic : testing::Test {
    void SetUp() override { startEventQueue(); keyMapping[K_OK] = SDLK_RETURN; keyMapping[K_BACK] = SDLK_BACKSPACE; }
    void TearDown() override { resetGame(); }
};

TEST_F(Logic, OkWhileDyingIsSwallowedAndOkWithBackInOnePausedStepQuits)
{
    newGameMode = MODE_INGAME;
    mainStep();
    ingameState = INGAME_DYING;
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    mainStep();
    EXPECT_EQ(std::tuple(ingameState, keyPress.key[OK]), std::tuple(INGAME_DYING, 0));

    ingameState = INGAME_PAUSED; // OK is seen first
    keyPress.key[OK] = keyPress.key[BACK] = 1;
    logic();
    EXPECT_EQ(newGameMode, MODE_MENU);
}
