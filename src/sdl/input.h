// Input: SDL events become the state of nine logical buttons.
#pragma once
#include <SDL.h>
#include "global.h"

enum keyActionEnum {
    UP = 0,
    DOWN = 1,
    LEFT = 2,
    RIGHT = 3,
    ACTION = 4,
    JUMP = 5,
    OK = 6,
    BACK = 7,
    MENU = 8
};

// The number of logical buttons, and their names as the remapping prompt
// shows them and scripts of button presses spell them, indexed by keyActionEnum.
const int BUTTON_COUNT = 9;
extern const char *const BUTTON_NAMES[BUTTON_COUNT];

// Keyboard entries K_*, joystick entries J_* = keyboard entry + 9.
enum keyMappingEnum {
    K_UP = 0, K_DOWN, K_LEFT, K_RIGHT, K_ACTION, K_JUMP, K_OK, K_BACK, K_MENU,
    J_UP = 9, J_DOWN, J_LEFT, J_RIGHT, J_ACTION, J_JUMP, J_OK, J_BACK, J_MENU
};

struct keyPressStruct {
    keyActionEnum keyVal;
    int key[10]; // 1 while pressed and not yet consumed
};

extern int keyMapping[18];
extern keyPressStruct keyPress;
extern int joyDeadzone;
extern Point joyReverseAxis;
extern SDL_Event event;

// Clears the key mapping, the joystick settings and every press, as before
// the settings are read.
void inputReset(void);

// Handles at most one pending event.
void input(void);

// Consumes a press of button: returns 1 (and clears it) when it was pressed,
// so one press acts once however many steps the key stays down.
int takePress(int button);

// The longest key name a prompt shows, in characters: "RIGHT SHIFT" fits,
// and a name this long leaves room for a dozen letters more on a 160-pixel line.
const int BUTTON_KEY_NAME_MAX = 11;

// The name an on-screen prompt gives button (a keyActionEnum): the name of
// the keyboard key mapped to it, in capitals ("RETURN", "LEFT CTRL", "X"),
// when that name is made of letters, digits and spaces and is at most
// BUTTON_KEY_NAME_MAX long; otherwise the button's own name ("BACK"), as for
// an unmapped button, a sign key ("[") or a key SDL has no word for. The
// mapping is read at each call, so a remapped key shows at once. The text
// lasts until the next call for the same button; nothing is allocated.
const char *inputButtonName(int button);

// Blocks until a key (or joystick button) is pressed and stores it in keyMapping[key];
// a quit request meanwhile stores nothing and sets newGameMode to MODE_EXIT.
// For a joystick direction entry (J_UP ... J_RIGHT), pushing the stick or
// the hat stores JOY_DIRECTION_BY_PAD instead.
void changeKeyMapping(int key);

// A joystick direction entry holding this value gives the direction to the
// stick and the hat instead of to a button, as the settings file's comment says.
const int JOY_DIRECTION_BY_PAD = -1;

// Opens the first joystick when one is present, at video start; with none,
// nothing changes and nothing is printed.
void inputOpenJoystick(void);

// Forgets the joystick and what its stick and hat held; at video end.
void inputCloseJoystick(void);

// Applies a joystick event: a button through the joystick entries as a key
// through the keyboard entries; the hat and the first two axes, past the dead
// zone and reversed as the settings say, as UP DOWN LEFT RIGHT when their
// entries are JOY_DIRECTION_BY_PAD. A direction is held while the stick or
// the hat holds it.
void inputJoystickEvent(const SDL_Event *e);

// 1 for a stick or hat move that changes no direction's hold (a stick
// drifting inside the dead zone, an axis that does not steer).
int inputJoystickEventIsIdle(const SDL_Event *e);

// 1 when e pushes the stick or the hat while direction entry key is captured.
int inputCapturesPadDirection(int key, const SDL_Event *e);
