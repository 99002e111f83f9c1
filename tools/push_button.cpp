#include "push_button.h"

#include <cstring>

#include <SDL.h>

#include "input.h"

void pushButton(int button, bool down)
{
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(keyMapping[button]);
    SDL_PushEvent(&e);
}
