#include "input.h"

#include <cstdio>
#include <cstring>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "signals.h"
#include "timer.h"

int keyMapping[18];
keyPressStruct keyPress;
int joyDeadzone = 100;
const char *const BUTTON_NAMES[BUTTON_COUNT] = {"UP", "DOWN", "LEFT", "RIGHT", "ACTION",
                                                "JUMP", "OK", "BACK", "MENU"};
Point joyReverseAxis = {0, 0};
SDL_Event event;

void inputReset(void)
{
    memset(keyMapping, 0, sizeof keyMapping);
    memset(&keyPress, 0, sizeof keyPress);
    joyDeadzone = 100;
    joyReverseAxis = {0, 0};
    inputCloseJoystick();
}

// The mouse buttons have fixed meanings, independent of the key mapping.
const int MOUSE_BUTTON_OK = SDL_BUTTON_LEFT;        // 1
const int MOUSE_BUTTON_BACK = SDL_BUTTON_RIGHT;     // 3
const int MOUSE_BUTTON_UP = SDL_BUTTON_WHEELUP;     // 4
const int MOUSE_BUTTON_DOWN = SDL_BUTTON_WHEELDOWN; // 5

// Sets every logical button mapped to the key sym to state; a key mapped to
// several buttons drives all of them.
static void inputSetKeys(int sym, int state)
{
    for (int a = UP; a <= MENU; a++) {
        if (sym == keyMapping[a])
            keyPress.key[a] = state;
    }
}

// Sets the logical button of a mouse button to state; other buttons are ignored.
static void inputSetMouseButton(int button, int state)
{
    switch (button) {
    case MOUSE_BUTTON_OK:
        keyPress.key[OK] = state;
        break;
    case MOUSE_BUTTON_BACK:
        keyPress.key[BACK] = state;
        break;
    case MOUSE_BUTTON_UP:
        keyPress.key[UP] = state;
        break;
    case MOUSE_BUTTON_DOWN:
        keyPress.key[DOWN] = state;
        break;
    default:
        break;
    }
}

// Takes the next event that matters into event; 0 when none is queued. An
// analog stick reports every small move, many more than one per step, so the
// moves that change no direction are passed over here rather than each
// costing a step and filling SDL's queue ahead of the presses.
static int inputPollEvent(void)
{
    while (SDL_PollEvent(&event)) {
        if (!inputJoystickEventIsIdle(&event))
            return 1;
    }
    return 0;
}

// Handles one pending event, so a burst is drained one event per logic step
// and a press and its release are never seen in the same step. A quit signal
// counts as this step's event and acts as the window's close button does.
void input(void)
{
    if (signalsTakeQuit()) {
        newGameMode = MODE_EXIT;
        return;
    }
    if (!inputPollEvent())
        return;
    switch (event.type) {
    case SDL_KEYDOWN:
        inputSetKeys(event.key.keysym.sym, 1);
        break;
    case SDL_KEYUP:
        inputSetKeys(event.key.keysym.sym, 0);
        break;
    case SDL_MOUSEBUTTONDOWN:
        inputSetMouseButton(event.button.button, 1);
        break;
    case SDL_MOUSEBUTTONUP:
        inputSetMouseButton(event.button.button, 0);
        break;
    case SDL_QUIT:
        newGameMode = MODE_EXIT;
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
        inputJoystickEvent(&event);
        break;
    default:
        break;
    }
}

#ifndef __EMSCRIPTEN__
// How long the key capture sleeps between empty polls, in ms: a waiting
// remapping page would otherwise keep a whole core busy.
static const Uint32 CAPTURE_IDLE_MS = 1;
#endif

// Gives the processor up between the key capture's empty polls.
static void inputCaptureIdle(void)
{
#ifdef __EMSCRIPTEN__
    // The page's key events arrive only while the browser runs, so the wait
    // hands control back to it between polls.
    emscripten_sleep(10);
#else
    SDL_Delay(CAPTURE_IDLE_MS);
#endif
}

// Waits for a key or joystick button and stores its code in keyMapping[key]
// (for a joystick direction, a push of the stick or hat gives it to them);
// every other event meanwhile is dropped, except a request to quit (the
// window's close button, or a quit signal): that abandons the capture,
// storing nothing, and asks for the exit mode, so the game still ends. The
// time spent waiting is not caught up by the main loop afterwards.
void changeKeyMapping(int key)
{
    for (;;) {
        if (signalsTakeQuit()) {
            newGameMode = MODE_EXIT;
            break;
        }
        if (!SDL_PollEvent(&event)) {
            inputCaptureIdle();
            continue;
        }
        if (event.type == SDL_QUIT) {
            newGameMode = MODE_EXIT;
            break;
        }
        if (event.type == SDL_KEYDOWN) {
            printf("New key for %d: %d\n", key, static_cast<int>(event.key.keysym.sym));
            keyMapping[key] = event.key.keysym.sym;
            break;
        }
        if (event.type == SDL_JOYBUTTONDOWN) {
            printf("New key: %d\n", event.jbutton.button);
            keyMapping[key] = event.jbutton.button;
            break;
        }
        if (inputCapturesPadDirection(key, &event)) {
            printf("New key: %d\n", JOY_DIRECTION_BY_PAD);
            keyMapping[key] = JOY_DIRECTION_BY_PAD;
            break;
        }
    }
    resetFrameSkip();
}

int takePress(int button)
{
    if (keyPress.key[button] != 1)
        return 0;
    keyPress.key[button] = 0;
    return 1;
}
