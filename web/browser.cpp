// The page's way into the game: the presenter turns the browser's keyboard,
// mouse and gamepad events into SDL 1.2 events, which the game then reads through
// input() exactly as on the desktop; a level the player opens from the disk
// becomes the level the game plays; and the page's checks can ask what is
// shown and play a recorded route step by step.
#include <SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <sys/stat.h>

#include "campaign.h"
#include "fileio.h"
#include "global.h"
#include "main.h"
#include "map.h"
#include "menu.h"
#include "push_button.h"
#include "sdlmain.h"

// SDL picks its video driver from the environment, which a page has not got:
// the dummy driver draws into memory and the presenter shows the frames. It is
// chosen as the module starts, before the game's main opens video.
[[maybe_unused]] static const bool videoDriverChosen = (headlessSDL(), true);

// Nor has a page a login shell to give the program its file mode mask, and
// Emscripten's starts at 0777: every file the game makes afresh (the progress
// file after the first win, a level saved under a new name) would be made
// with no permissions and could not be read back or kept. 022 is what a
// desktop login gives.
[[maybe_unused]] static const mode_t fileMaskSet = umask(022);

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

// A pad's button went down or up, its axis moved to value, its hat to bits
// (SDL_HAT_*): the presenter's reading of the browser's Gamepad API.
extern "C" EMSCRIPTEN_KEEPALIVE void browserPadButton(int button, int down)
{
    pushPadButton(button, down != 0);
}

extern "C" EMSCRIPTEN_KEEPALIVE void browserPadAxis(int axis, int value)
{
    pushPadAxis(axis, value);
}

extern "C" EMSCRIPTEN_KEEPALIVE void browserPadHat(int bits)
{
    pushPadHat(bits);
}

// What the game shows, for the page's own checks: the game mode (global.h)
// times ten, plus 1 while the title screen is up and 2 while a key is being
// captured for the remapping page.
extern "C" EMSCRIPTEN_KEEPALIVE int browserScreen(void)
{
    return gameMode * 10 + (drawTitle ? 1 : 0) + (menuState == 1 ? 2 : 0);
}

// The line the campaign shows on the screen that is up: on the title the
// level New Game plays, on the won screen the next level offered; else "".
extern "C" EMSCRIPTEN_KEEPALIVE const char *browserLevelLine(void)
{
    if (gameMode == MODE_MENU && drawTitle)
        return campaignTitleLine();
    if (gameMode == MODE_WON)
        return campaignWonLine();
    return "";
}

// Runs steps logic steps at once, each drawn as the main loop draws it, on
// no clock: how the page's checks play a recorded route exactly as the
// replay tool does. The main loop's clock then starts again from now, so the
// next pass owes the game no time for them.
extern "C" EMSCRIPTEN_KEEPALIVE void browserRunSteps(int steps)
{
    for (int i = 0; i < steps && quit == 0; i++)
        mainStepAndDraw();
    mainLoopReset((int)SDL_GetTicks());
}

// What browserOpenLevel answers.
const int BROWSER_OPENED = 0;
const int BROWSER_NOT_A_LEVEL = 1;
const int BROWSER_NOT_NOW = 2;
const int BROWSER_NOT_KEPT = 3;

// A level file the player opened, written by the page to staged: when it
// reads as a level it is moved to file (under data/maps, where the game keeps
// what it writes) and becomes the first level, as the -map switch makes a
// level on the desktop: New Game plays it, the editor opens it, and the
// levels its NEXT: lines name follow it. The title comes back naming it.
// Only the title and the menu pages take it, never a game, the editor or a
// key capture in progress; anything refused leaves every file and the
// game's choice as they were (the staged file is the page's to remove).
extern "C" EMSCRIPTEN_KEEPALIVE int browserOpenLevel(const char *staged, const char *file)
{
    if (gameMode != MODE_MENU || newGameMode != MODE_MENU || menuState != MENU_STATE_NAVIGATING)
        return BROWSER_NOT_NOW;
    mapHeader header;
    if (loadMapHeader(staged, &header) != 0)
        return BROWSER_NOT_A_LEVEL;
    char *first = strdup(file);
    if (!first)
        return BROWSER_NOT_KEPT;
    if (rename(staged, file) != 0) {
        fprintf(stderr, "ERROR: (browserOpenLevel) Can't keep %s: %s\n", file, strerror(errno));
        free(first);
        return BROWSER_NOT_KEPT;
    }
    free(mapFile);
    mapFile = first;
    mapChooseLevelFile(nullptr);
    campaignTitleStart();
    drawTitleNextTurn = 1;
    printf("Opened level: %s\n", file);
    return BROWSER_OPENED;
}
