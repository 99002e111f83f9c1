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
