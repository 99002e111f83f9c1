// Input: SDL events become the nine logical buttons through the key mapping,
// the fixed mouse buttons and the window-close request; and the key capture.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "global.h"
#include "input.h"
#include "main.h"
#include "sdl_events.h"

namespace {

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        memset(keyMapping, 0, sizeof keyMapping);
        memset(&keyPress, 0, sizeof keyPress);
        newGameMode = MODE_MENU;
        _resetFrameSkip = 0;
        startEventQueue();
    }
    void TearDown() override
    {
        memset(keyMapping, 0, sizeof keyMapping);
        memset(&keyPress, 0, sizeof keyPress);
        newGameMode = MODE_EXIT;
        _resetFrameSkip = 0;
        SDL_Quit();
    }
};

int pressedButtons()
{
    int n = 0;
    for (int a = UP; a <= MENU; a++)
        n += keyPress.key[a];
    return n;
}

} // namespace

TEST_F(Input, APressAndItsReleaseQueuedTogetherAreSeenInTwoSuccessiveSteps)
{
    keyMapping[K_JUMP] = SDLK_x;
    pushKeyTap(SDLK_x);

    input();
    EXPECT_EQ(keyPress.key[JUMP], 1);
    EXPECT_EQ(pendingEvents(), 1); // the release waits for the next step
    input();
    EXPECT_EQ(keyPress.key[JUMP], 0);
    input(); // empty queue: nothing changes
    EXPECT_EQ(pressedButtons(), 0);
}

TEST_F(Input, AKeyMappedToTwoButtonsDrivesBothAndAnUnmappedKeyNone)
{
    keyMapping[K_JUMP] = SDLK_x;
    keyMapping[K_OK] = SDLK_x;
    keyMapping[K_BACK] = SDLK_BACKSPACE;

    pushKey(SDL_KEYDOWN, SDLK_x);
    input();
    EXPECT_EQ(keyPress.key[JUMP], 1);
    EXPECT_EQ(keyPress.key[OK], 1);
    EXPECT_EQ(pressedButtons(), 2);

    pushKeyTap(SDLK_q);
    input();
    input();
    EXPECT_EQ(pressedButtons(), 2);

    pushKey(SDL_KEYUP, SDLK_x);
    input();
    EXPECT_EQ(pressedButtons(), 0);
}

TEST_F(Input, AConsumedPressStaysConsumedWhileTheKeyIsHeld)
{
    keyMapping[K_ACTION] = SDLK_z;
    pushKey(SDL_KEYDOWN, SDLK_z);
    input();
    ASSERT_EQ(keyPress.key[ACTION], 1);
    keyPress.key[ACTION] = 0; // a reader acts on the press

    input(); // held: no key repeat brings it back
    EXPECT_EQ(keyPress.key[ACTION], 0);
    pushKey(SDL_KEYUP, SDLK_z);
    input();
    EXPECT_EQ(keyPress.key[ACTION], 0);
    pushKey(SDL_KEYDOWN, SDLK_z);
    input();
    EXPECT_EQ(keyPress.key[ACTION], 1);
}

TEST_F(Input, MouseButtonsHaveFixedMeaningsEvenWithoutAMapping)
{
    pushMouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    input();
    EXPECT_EQ(keyPress.key[OK], 1);
    pushMouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    input();
    EXPECT_EQ(keyPress.key[BACK], 1);
    EXPECT_EQ(pressedButtons(), 2);
    pushMouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    pushMouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    input();
    input();
    EXPECT_EQ(pressedButtons(), 0);

    pushClick(SDL_BUTTON_MIDDLE);
    input();
    EXPECT_EQ(pressedButtons(), 0);
    input();
    EXPECT_EQ(pressedButtons(), 0);
}

TEST_F(Input, AWheelNotchHoldsUpOrDownForExactlyOneStep)
{
    pushClick(SDL_BUTTON_WHEELDOWN);
    pushClick(SDL_BUTTON_WHEELUP);
    const int expectedDown[] = {1, 0, 0, 0};
    const int expectedUp[] = {0, 0, 1, 0};
    for (int stepNo = 0; stepNo < 4; stepNo++) {
        input();
        EXPECT_EQ(keyPress.key[DOWN], expectedDown[stepNo]) << "step " << stepNo;
        EXPECT_EQ(keyPress.key[UP], expectedUp[stepNo]) << "step " << stepNo;
    }
}

TEST_F(Input, ClosingTheWindowRequestsTheExitModeAndOtherEventsAreDropped)
{
    keyMapping[K_OK] = SDLK_RETURN;
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 10;
    pushEvent(motion);
    pushWindowClose();

    input();
    EXPECT_EQ(newGameMode, MODE_MENU);
    EXPECT_EQ(pressedButtons(), 0);
    input();
    EXPECT_EQ(newGameMode, MODE_EXIT);
    EXPECT_EQ(pressedButtons(), 0);
}

TEST_F(Input, KeyCaptureTakesTheNextKeyAndDropsEverythingBefore)
{
    // JUMP is held when the capture starts; its release arrives during the wait.
    keyMapping[K_JUMP] = SDLK_x;
    pushKey(SDL_KEYDOWN, SDLK_x);
    input();
    pushKey(SDL_KEYUP, SDLK_x);
    pushClick(SDL_BUTTON_LEFT);
    pushKey(SDL_KEYDOWN, SDLK_q);
    pushKey(SDL_KEYDOWN, SDLK_w);

    testing::internal::CaptureStdout();
    changeKeyMapping(K_JUMP);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "New key for 5: 113\n");
    EXPECT_EQ(keyMapping[K_JUMP], SDLK_q);
    EXPECT_EQ(_resetFrameSkip, 1);
    EXPECT_EQ(newGameMode, MODE_MENU);
    EXPECT_EQ(keyPress.key[JUMP], 1);    // the release was lost
    EXPECT_EQ(keyPress.key[OK], 0);      // and the click
    EXPECT_EQ(pendingEvents(), 1);       // the key after the captured one waits

    // The captured key already drives the button; the old one no longer does.
    pushKey(SDL_KEYUP, SDLK_x);
    input(); // w
    input();
    EXPECT_EQ(keyPress.key[JUMP], 1);
    pushKey(SDL_KEYUP, SDLK_q);
    input();
    EXPECT_EQ(keyPress.key[JUMP], 0);
}

TEST_F(Input, AQuitRequestDuringKeyCaptureAbandonsItAndAsksForTheExitMode)
{
    // A release and a click come first and are dropped as usual; the quit
    // (window close, or SIGINT/SIGTERM) ends the wait before the key after it.
    keyMapping[K_JUMP] = SDLK_x;
    pushKey(SDL_KEYUP, SDLK_x);
    pushClick(SDL_BUTTON_LEFT);
    pushWindowClose();
    pushKey(SDL_KEYDOWN, SDLK_q);

    testing::internal::CaptureStdout();
    changeKeyMapping(K_JUMP);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(keyMapping[K_JUMP], SDLK_x); // nothing stored
    EXPECT_EQ(newGameMode, MODE_EXIT);
    EXPECT_EQ(_resetFrameSkip, 1);
    EXPECT_EQ(pendingEvents(), 1);         // the later key is left alone
}

TEST_F(Input, KeyCaptureTakesAJoystickButtonForAJoystickEntry)
{
    SDL_Event joy{};
    joy.type = SDL_JOYBUTTONDOWN;
    joy.jbutton.type = SDL_JOYBUTTONDOWN;
    joy.jbutton.button = 7;
    pushEvent(joy);

    testing::internal::CaptureStdout();
    changeKeyMapping(J_OK);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "New key: 7\n");
    EXPECT_EQ(keyMapping[J_OK], 7);
    EXPECT_EQ(_resetFrameSkip, 1);

    // Joystick events never reach the buttons in play.
    pushEvent(joy);
    input();
    EXPECT_EQ(pressedButtons(), 0);
}
