// The page's way into SDL's event queue: the presenter turns the browser's
// keyboard and mouse events into SDL 1.2 events, which the game then reads
// through input() exactly as on the desktop.
#include <SDL.h>
#include <emscripten.h>

#include "global.h"
#include "menu.h"
#include "sdlmain.h"

// SDL picks its video driver from the environment, which a page has not got:
// the dummy driver draws into memory and the presenter shows the frames. It is
// chosen as the module starts, before the game's main opens video.
[[maybe_unused]] static const bool videoDriverChosen = (headlessSDL(), true);

// A key went down (down 1) or up (down 0); sym is its SDL 1.2 key symbol.
extern "C" EMSCRIPTEN_KEEPALIVE void browserKey(int sym, int down)
{
    SDL_Event key = {};
    key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    key.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    key.key.keysym.sym = (SDLKey)sym;
    SDL_PushEvent(&key);
}

// A mouse button went down or up; button is SDL's number (1 left, 2 middle,
// 3 right, 4 and 5 the wheel).
extern "C" EMSCRIPTEN_KEEPALIVE void browserMouseButton(int button, int down)
{
    SDL_Event press = {};
    press.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    press.button.button = (Uint8)button;
    press.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&press);
}

// What the game shows, for the page's own checks: the game mode (global.h)
// times ten, plus 1 while the title screen is up and 2 while a key is being
// captured for the remapping page.
extern "C" EMSCRIPTEN_KEEPALIVE int browserScreen(void)
{
    return gameMode * 10 + (drawTitle ? 1 : 0) + (menuState == 1 ? 2 : 0);
}
