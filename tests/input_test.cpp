// Input: SDL events become the nine logical buttons through the key mapping,
// the fixed mouse buttons and the window-close request; and the key capture.
#include <csignal>
#include <tuple>

#include "sdl_events.h"
#include "test_util.h"

// The nine buttons as 0s and 1s, in the order UP DOWN LEFT RIGHT ACTION JUMP OK BACK MENU.
static std::string buttons()
{
    std::string s;
    for (int a = UP; a <= MENU; a++)
        s += (char)('0' + keyPress.key[a]);
    return s;
}

// The buttons after each of n steps, separated by blanks.
static std::string steps(int n)
{
    std::string seen;
    for (int i = 0; i < n; i++) input(), seen += buttons() + " ";
    return seen;
}

// In the menu, with an empty queue.
struct Input : testing::Test {
    void SetUp() override { startEventQueue(); memset(&keyPress, 0, sizeof keyPress); newGameMode = MODE_MENU; }
    void TearDown() override { resetGame(); }
};

TEST_F(Input, EachStepTakesOneEventSoAPressAndItsReleaseAreSeenInTwoSteps)
{
    keyMapping[K_JUMP] = keyMapping[K_OK] = SDLK_x; // one key, two buttons
    for (SDLKey key : {SDLK_x, SDLK_q}) // the second mapped to nothing; each tapped, both events queued
        pushKey(SDL_KEYDOWN, key), pushKey(SDL_KEYUP, key);
    pushClick(SDL_BUTTON_MIDDLE);    // no meaning
    pushClick(SDL_BUTTON_WHEELDOWN); // a notch holds DOWN for exactly one step
    pushClick(SDL_BUTTON_WHEELUP);
    pushClick(SDL_BUTTON_LEFT);
    pushClick(SDL_BUTTON_RIGHT);
    pushWindowClose();
    std::string seen;
    for (int stepNo = 0; stepNo < 14; stepNo++) { input(); seen += buttons() + " "; }
    EXPECT_EQ(seen, "000001100 000000000 000000000 000000000 000000000 000000000 010000000 000000000 "
                    "100000000 000000000 000000100 000000000 000000010 000000000 ");
    EXPECT_EQ(newGameMode, MODE_MENU);
    input();
    EXPECT_EQ(newGameMode, MODE_EXIT);
}

TEST_F(Input, KeyCaptureTakesTheNextKeyDropsWhatCameBeforeAndSkipsTheWait)
{
    pushClick(SDL_BUTTON_LEFT);
    pushKey(SDL_KEYDOWN, SDLK_q);
    EXPECT_EQ(printed([] { changeKeyMapping(K_JUMP); }), "New key for 5: 113\n|");
    EXPECT_EQ(std::tuple(keyMapping[K_JUMP], _resetFrameSkip, buttons()), std::tuple(SDLK_q, 1, "000000000"));

    // A quit request (the window's close button) ends the wait unstored.
    _resetFrameSkip = 0;
    pushWindowClose();
    pushKey(SDL_KEYDOWN, SDLK_w);
    EXPECT_EQ(printed([] { changeKeyMapping(K_JUMP); }), "|");
    EXPECT_EQ(std::tuple(keyMapping[K_JUMP], newGameMode, _resetFrameSkip), std::tuple(SDLK_q, MODE_EXIT, 1));
}

// A quit signal ends a capture that has no event to wait on, and play; one
// that was ignored when video started (a background job's SIGINT) is left alone.
TEST_F(Input, QuitSignalsEndTheCaptureAndPlayButOneIgnoredAtStartStaysIgnored)
{
    void (*hadInt)(int) = signal(SIGINT, SIG_IGN);
    signal(SIGHUP, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    headlessSDL();
    ASSERT_EQ(initSDL(), 0);
    raise(SIGINT);
    raise(SIGHUP);
    EXPECT_EQ(printed([] { changeKeyMapping(K_JUMP); }), "|");
    EXPECT_EQ(std::tuple(keyMapping[K_JUMP], newGameMode, _resetFrameSkip), std::tuple(0, MODE_EXIT, 1));
    newGameMode = MODE_MENU;
    input();
    EXPECT_EQ(newGameMode, MODE_MENU);
    raise(SIGTERM);
    input();
    EXPECT_EQ(newGameMode, MODE_EXIT);
    signal(SIGINT, hadInt);
}

TEST_F(Input, APressTakenOnceStaysTakenWhileTheKeyIsHeld)
{
    keyMapping[K_OK] = SDLK_RETURN;
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    input();
    EXPECT_EQ(takePress(OK), 1);
    input();
    EXPECT_EQ(takePress(OK), 0);
}

// A prompt names the key mapped to a button in capitals when its name is a
// short word; signs, keys without a name and unmapped buttons give the button.
TEST_F(Input, PromptsNameTheMappedKeyWhenItHasAShortWordElseTheButton)
{
    const struct { int sym; const char *name; } cases[] = {{SDLK_x, "X"}, {SDLK_BACKSPACE, "BACKSPACE"},
        {SDLK_LCTRL, "LEFT CTRL"}, {SDLK_RSHIFT, "RIGHT SHIFT"}, {SDLK_F1, "F1"}, {0, "JUMP"}, {1, "JUMP"},
        {SDLK_PRINT, "JUMP"} /* "print screen": too long */, {SDLK_LEFTBRACKET, "JUMP"}, {SDLK_KP1, "JUMP"},
        {SDLK_WORLD_5, "JUMP"}, {SDLK_LAST, "JUMP"}, {-4, "JUMP"}};
    for (const auto &c : cases) {
        keyMapping[K_JUMP] = c.sym;
        EXPECT_STREQ(inputButtonName(JUMP), c.name) << c.sym;
    }
    keyMapping[K_JUMP] = SDLK_x, keyMapping[K_BACK] = SDLK_ESCAPE;
    const char *jump = inputButtonName(JUMP);
    EXPECT_STREQ(inputButtonName(BACK), "ESCAPE");
    EXPECT_STREQ(jump, "X"); // each button keeps its own name
}

// The pad's buttons through the joystick entries; its hat and stick as the
// directions whose entries are -1, the stick past the dead zone (3200 here)
// and back within three quarters of it. Each string is the buttons after one
// step, as UP DOWN LEFT RIGHT ACTION JUMP OK BACK MENU.
TEST_F(Input, PadButtonsHatAndStickDriveTheButtonsTheirEntriesName)
{
    for (int d = J_UP; d <= J_RIGHT; d++) keyMapping[d] = JOY_DIRECTION_BY_PAD;
    keyMapping[J_JUMP] = keyMapping[J_OK] = 3, keyMapping[J_ACTION] = 2, joyDeadzone = 3200;
    pushPad(SDL_JOYBUTTONDOWN, 3); // mapped twice: drives both
    pushPad(SDL_JOYBUTTONDOWN, 7); // mapped to nothing
    EXPECT_EQ(steps(2), "000001100 000001100 ");
    EXPECT_EQ(takePress(JUMP) * 10 + takePress(OK), 11);
    pushPad(SDL_JOYBUTTONDOWN, 2), pushPad(SDL_JOYBUTTONUP, 3), pushPad(SDL_JOYBUTTONUP, 2);
    EXPECT_EQ(steps(3), "000010000 000010000 000000000 ");
    // On the dead zone's edge nothing; one past it a press; a stick resting
    // near the edge holds it, and lets go inside the band; a move that
    // changes nothing takes no step, so the button behind it is seen at once.
    for (int x : {3200, 3201, 3000, 2401, 2400, 20000, -20000}) pushPad(SDL_JOYAXISMOTION, 0, x);
    pushPad(SDL_JOYBUTTONDOWN, 2);
    EXPECT_EQ(steps(6), "000100000 000000000 000100000 001000000 001010000 001010000 ");
    // Stick and hat together: the hat's release keeps the held stick, and the
    // stick's release keeps the held hat; a diagonal holds two directions.
    pushPad(SDL_JOYHATMOTION, SDL_HAT_LEFT), pushPad(SDL_JOYHATMOTION, SDL_HAT_CENTERED);
    pushPad(SDL_JOYHATMOTION, SDL_HAT_LEFTUP), pushPad(SDL_JOYAXISMOTION, 0, 0), pushPad(SDL_JOYAXISMOTION, 1, -9000);
    pushPad(SDL_JOYHATMOTION, SDL_HAT_CENTERED), pushPad(SDL_JOYAXISMOTION, 1, 0);
    EXPECT_EQ(steps(7), "001010000 001010000 101010000 101010000 101010000 100010000 000010000 ");
}

TEST_F(Input, ReversedAxesAHugeDeadZoneAndDirectionsGivenToButtons)
{
    keyMapping[J_UP] = keyMapping[J_DOWN] = JOY_DIRECTION_BY_PAD, keyMapping[J_LEFT] = 4, keyMapping[J_RIGHT] = 5;
    joyReverseAxis = {1, 1};
    pushPad(SDL_JOYAXISMOTION, 1, -20000), pushPad(SDL_JOYAXISMOTION, 0, 20000), pushPad(SDL_JOYHATMOTION, SDL_HAT_RIGHT);
    pushPad(SDL_JOYBUTTONDOWN, 5), pushPad(SDL_JOYBUTTONDOWN, 4);
    // The stick and hat steer only UP and DOWN.
    EXPECT_EQ(steps(5), "010000000 010000000 010000000 010100000 011100000 ");
    joyDeadzone = 32768;                                                 // above any axis: the stick never counts
    pushPad(SDL_JOYAXISMOTION, 1, 0), pushPad(SDL_JOYAXISMOTION, 1, -32768), pushPad(SDL_JOYAXISMOTION, 1, 32767);
    EXPECT_EQ(steps(2), "001100000 001100000 ");
    // The capture: a stick push gives a direction entry back to the pad and
    // is passed over for a button's entry; a button is stored as it is.
    joyDeadzone = 3200;
    pushPad(SDL_JOYAXISMOTION, 0, -30000);
    EXPECT_EQ(printed([] { changeKeyMapping(J_LEFT); }), "New key: -1\n|");
    pushPad(SDL_JOYHATMOTION, SDL_HAT_UP), pushPad(SDL_JOYBUTTONDOWN, 6);
    EXPECT_EQ(printed([] { changeKeyMapping(J_JUMP); }), "New key: 6\n|");
    EXPECT_EQ(std::tuple(keyMapping[J_LEFT], keyMapping[J_JUMP]), std::tuple(-1, 6));
}
