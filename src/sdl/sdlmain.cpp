#include "sdlmain.h"

int screenWidth = 160;
int screenHeight = 120;
int screenBpp = 16;
int screenFlags = 0;
int scale = 2;
int framesPerSecond = 60;
SDL_Surface *screen = nullptr;
SDL_Surface *screenScaled = nullptr;

int initSDL(void)
{
    return 1;
}

int cleanSDL(void)
{
    SDL_Quit();
    return 0;
}

int flip(void)
{
    return 0;
}

void updateScreen(void)
{
    flip();
}
