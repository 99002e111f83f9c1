// The joystick half of the controls: the first pad's buttons, its hat and its
// first two axes become the logical buttons through keyMapping[J_UP ... J_MENU].
#include <cstdio>

#include "input.h"

// The pad the game reads, or null when none is present. An SDL built without
// joystick support (the handheld's, whose buttons arrive as keys, and the
// browser's, whose page feeds the pad's events itself) has none to open.
static SDL_Joystick *joystick = nullptr;

// The axes that steer: 0 left and right, 1 up and down.
static const int JOY_AXIS_X = 0;
static const int JOY_AXIS_Y = 1;
// The hat that steers; a pad's further hats are left alone.
static const int JOY_HAT = 0;

// Which way each steering axis is held: -1 left or up, 1 right or down, 0 not
// at all; and the hat's position as SDL gives it (SDL_HAT_* bits).
static int joyStickSide[2];
static int joyHatBits;

void inputOpenJoystick(void)
{
#ifndef SDL_JOYSTICK_DISABLED
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0)
        return;
    if (SDL_NumJoysticks() > 0)
        joystick = SDL_JoystickOpen(0);
    // Without a pad the game runs as it always has, with no subsystem more.
    if (!joystick) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return;
    }
    SDL_JoystickEventState(SDL_ENABLE);
    printf("Joystick: %s\n", SDL_JoystickName(0));
#endif
}

void inputCloseJoystick(void)
{
    // SDL_Quit closes the pad itself; only the handle is forgotten here.
    joystick = nullptr;
    joyStickSide[0] = joyStickSide[1] = 0;
    joyHatBits = 0;
}

// Sets every logical button whose joystick entry holds the pad's button to
// state, as a key does through the keyboard entries.
static void joySetButtons(int button, int state)
{
    for (int a = UP; a <= MENU; a++) {
        if (keyMapping[J_UP + a] == button)
            keyPress.key[a] = state;
    }
}

// The side an axis is held to after it moved to value: beyond the dead zone
// it counts; once counted, it lets go only back within three quarters of the
// dead zone, so a stick resting near the edge does not press again and again.
static int joyAxisSide(int held, int value)
{
    const int letGoWithin = joyDeadzone - joyDeadzone / 4;
    if (held != 0 && value * held > letGoWithin)
        return held;
    if (value > joyDeadzone)
        return 1;
    if (value < -joyDeadzone)
        return -1;
    return 0;
}

// An axis' value as the settings want it read, reversed or not.
static int joyAxisValue(int axis, int value)
{
    const int reversed = axis == JOY_AXIS_X ? joyReverseAxis.x : joyReverseAxis.y;
    return reversed ? -value : value;
}

// 1 when the stick or the hat holds direction d (UP ... RIGHT).
static int joyHoldsDirection(int d)
{
    static const int HAT_BITS[4] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};
    static const int STICK_AXIS[4] = {JOY_AXIS_Y, JOY_AXIS_Y, JOY_AXIS_X, JOY_AXIS_X};
    static const int STICK_SIDE[4] = {-1, 1, -1, 1};
    return (joyHatBits & HAT_BITS[d]) != 0 || joyStickSide[STICK_AXIS[d]] == STICK_SIDE[d];
}

// The directions the stick and the hat hold together, one bit per direction.
static int joyDirections(void)
{
    int held = 0;
    for (int d = UP; d <= RIGHT; d++)
        held |= joyHoldsDirection(d) << d;
    return held;
}

// Presses or releases each direction whose hold by the pad changed since
// before (a joyDirections value), when its entry gives it to the stick and
// hat: a direction goes up only when neither holds it any more.
static void joyApplyDirections(int before)
{
    const int after = joyDirections();
    for (int d = UP; d <= RIGHT; d++) {
        if (((before ^ after) >> d & 1) && keyMapping[J_UP + d] == JOY_DIRECTION_BY_PAD)
            keyPress.key[d] = after >> d & 1;
    }
}

static void joyMoveAxis(int axis, int value)
{
    const int before = joyDirections();
    joyStickSide[axis] = joyAxisSide(joyStickSide[axis], joyAxisValue(axis, value));
    joyApplyDirections(before);
}

static void joyMoveHat(int bits)
{
    const int before = joyDirections();
    joyHatBits = bits;
    joyApplyDirections(before);
}

static bool joyIsSteeringAxis(int axis)
{
    return axis == JOY_AXIS_X || axis == JOY_AXIS_Y;
}

int inputJoystickEventIsIdle(const SDL_Event *e)
{
    if (e->type == SDL_JOYAXISMOTION) {
        const int axis = e->jaxis.axis;
        return !joyIsSteeringAxis(axis) ||
               joyAxisSide(joyStickSide[axis], joyAxisValue(axis, e->jaxis.value)) == joyStickSide[axis];
    }
    if (e->type == SDL_JOYHATMOTION)
        return e->jhat.hat != JOY_HAT || e->jhat.value == joyHatBits;
    return 0;
}

void inputJoystickEvent(const SDL_Event *e)
{
    switch (e->type) {
    case SDL_JOYBUTTONDOWN:
        joySetButtons(e->jbutton.button, 1);
        break;
    case SDL_JOYBUTTONUP:
        joySetButtons(e->jbutton.button, 0);
        break;
    case SDL_JOYAXISMOTION:
        if (joyIsSteeringAxis(e->jaxis.axis))
            joyMoveAxis(e->jaxis.axis, e->jaxis.value);
        break;
    case SDL_JOYHATMOTION:
        if (e->jhat.hat == JOY_HAT)
            joyMoveHat(e->jhat.value);
        break;
    default:
        break;
    }
}

int inputCapturesPadDirection(int key, const SDL_Event *e)
{
    if (key < J_UP || key > J_RIGHT)
        return 0;
    if (e->type == SDL_JOYHATMOTION)
        return e->jhat.hat == JOY_HAT && e->jhat.value != SDL_HAT_CENTERED;
    return e->type == SDL_JOYAXISMOTION && joyIsSteeringAxis(e->jaxis.axis) &&
           joyAxisSide(0, e->jaxis.value) != 0;
}
