// Helpers for tests that drive the game through SDL's event queue: SDL with
// the dummy video driver, and synthetic key, mouse and window events.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

// Starts SDL's video subsystem (the dummy driver in tests) with an empty queue.
inline void startEventQueue()
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}

inline void pushEvent(SDL_Event e)
{
    ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
}

inline void pushKey(Uint8 type, SDLKey sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    pushEvent(e);
}

// A key pressed and released at once: both events wait in the queue.
inline void pushKeyTap(SDLKey sym)
{
    pushKey(SDL_KEYDOWN, sym);
    pushKey(SDL_KEYUP, sym);
}

inline void pushMouseButton(Uint8 type, Uint8 button)
{
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.button = button;
    pushEvent(e);
}

// A click, or a wheel notch: the press followed at once by its release.
inline void pushClick(Uint8 button)
{
    pushMouseButton(SDL_MOUSEBUTTONDOWN, button);
    pushMouseButton(SDL_MOUSEBUTTONUP, button);
}

inline void pushWindowClose()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    pushEvent(e);
}

inline int pendingEvents()
{
    SDL_Event e;
    return SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_ALLEVENTS);
}
