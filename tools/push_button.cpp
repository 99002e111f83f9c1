#include "push_button.h"

#include <cstdio>
#include <cstring>

#include <SDL.h>

#include "input.h"

// 1 when the settings' number for button names one of SDL's keys.
static int pushButtonHasKey(int button)
{
    return keyMapping[button] >= 0 && keyMapping[button] < SDLK_LAST;
}

void pushButton(int button, bool down)
{
    if (!pushButtonHasKey(button))
        return;
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(keyMapping[button]);
    SDL_PushEvent(&e);
}

int pushButtonKeyMissing(const char *tool)
{
    for (int button = 0; button < BUTTON_COUNT; button++) {
        if (pushButtonHasKey(button))
            continue;
        fprintf(stderr, "%s: the settings give %s the key %d, which is no key\n", tool, BUTTON_NAMES[button],
                keyMapping[button]);
        return 1;
    }
    return 0;
}

void pushPadButton(int button, bool down)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.type = e.type;
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.jbutton.button = static_cast<Uint8>(button);
    SDL_PushEvent(&e);
}

void pushPadAxis(int axis, int value)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.type = e.type;
    e.jaxis.axis = static_cast<Uint8>(axis);
    e.jaxis.value = static_cast<Sint16>(value);
    SDL_PushEvent(&e);
}

void pushPadHat(int bits)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_JOYHATMOTION;
    e.jhat.type = e.type;
    e.jhat.value = static_cast<Uint8>(bits);
    SDL_PushEvent(&e);
}
