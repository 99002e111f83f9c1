// Helpers for tests that drive the game as a player does: SDL's event queue on
// the dummy video driver, synthetic key, mouse and window events, one step of
// the main loop, and every global such a session touches put back.
#pragma once
#include <SDL.h>
#include <cstring>
#include <gtest/gtest.h>

#include "animation.h"
#include "campaign.h"
#include "draw.h"
#include "editor.h"
#include "enemy.h"
#include "input.h"
#include "intro.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "menu.h"
#include "sound.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "timer.h"

// Starts SDL's video subsystem (the dummy driver in tests) with an empty queue.
inline void startEventQueue()
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}

inline void pushKey(Uint8 type, SDLKey sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
}

// A click, or a wheel notch: the press followed at once by its release.
inline void pushClick(Uint8 button)
{
    for (Uint8 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e{};
        e.type = type;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.button = button;
        ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
    }
}

// A pad's button down or up, its axis moved to value, its hat to bits (SDL_HAT_*).
inline void pushPad(Uint8 type, int which, int value = 0)
{
    SDL_Event e{};
    e.type = type;
    if (type == SDL_JOYAXISMOTION)
        e.jaxis.axis = (Uint8)which, e.jaxis.value = (Sint16)value;
    else if (type == SDL_JOYHATMOTION)
        e.jhat.value = (Uint8)which;
    else
        e.jbutton.button = (Uint8)which, e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
}

inline void pushWindowClose()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
}

// Forgets the level, the creatures, the presses and every mode's start, and
// drops the events still queued.
inline void leaveModes()
{
    freeMap();
    enemyReset();
    logicReset();
    editorReset();
    memset(&keyPress, 0, sizeof keyPress);
    for (SDL_Event e; SDL_PollEvent(&e);) {
    }
}

// Leaves the modes, frees what they loaded (the player's sheet and the
// images, before SDL, whose surfaces they are), ends SDL and puts back the
// globals of the command line, the screen, the clock, the modes, the menu,
// the campaign and the keys.
inline void resetGame()
{
    leaveModes();
    playerReset();
    dFreeImages();
    sdlReset();
    timerReset();
    mapReset();
    inputReset();
    introReset();
    menuReset();
    campaignReset();
    soundReset();
    quit = 0;
}
