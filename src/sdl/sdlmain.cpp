// Video mode, the logical screen, and the scaling and presentation of frames.
#include "sdlmain.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "global.h"
#include "input.h"
#include "scaler.h"
#include "signals.h"

int screenWidth = 160;
int screenHeight = 120;
int screenBpp = 16;
int screenFlags = 0;
int scale = 2;
int framesPerSecond = 60;
SDL_Surface *screen = nullptr;
SDL_Surface *screenScaled = nullptr;

// The smallest logical screen, in pixels.
static const int MIN_SCREEN_WIDTH = 160;
static const int MIN_SCREEN_HEIGHT = 120;
// Every surface here is 16 bits per pixel: the scalers copy pixel values as they are.
static const int SCREEN_BPP = 16;
// SDL 1.2 keeps a surface's row length in 16 bits and rectangle positions in
// signed 16 bits; a display side beyond this many pixels cannot be drawn safely.
static const int MAX_DISPLAY_SIDE = 16383;
// The frame rate shown beside the measured one, frames per second.
static const int TARGET_FPS = 60;

// True when the display size fits what SDL 1.2 surfaces can hold.
static bool displaySizeFits(void)
{
    return scale >= 1 && screenWidth <= MAX_DISPLAY_SIDE / scale &&
           screenHeight <= MAX_DISPLAY_SIDE / scale;
}

// Scale 1: the display surface is the logical screen.
static int openUnscaled(void)
{
    screen = nullptr;
    if (displaySizeFits())
        screen = SDL_SetVideoMode(screenWidth, screenHeight, SCREEN_BPP, screenFlags);
    if (!screen) {
        fprintf(stderr, "ERROR: (initSDL) Unable to set the resolution: %dx%d %dbpp\n",
                screenWidth, screenHeight, screenBpp);
        return 1;
    }
    printf("%dx%d %dbpp\n", screenWidth, screenHeight, screenBpp);
    return 0;
}

// Other scales: an off-screen logical screen in SDL's default 16-bit layout,
// and a display surface scale times larger.
static int openScaled(void)
{
    screen = nullptr;
    screenScaled = nullptr;
    if (displaySizeFits()) {
        screen = SDL_CreateRGBSurface(screenFlags, screenWidth, screenHeight, SCREEN_BPP,
                                      0, 0, 0, 0);
        screenScaled = SDL_SetVideoMode(screenWidth * scale, screenHeight * scale,
                                        screenBpp, screenFlags);
    }
    if (!screen || !screenScaled) {
        fprintf(stderr,
                "ERROR: (initSDL) Unable to set the resolution: %dx%d %dbpp (x%d scale)\n",
                screenWidth, screenHeight, screenBpp, scale);
        return 1;
    }
    printf("%dx%d %dbpp (%dx%d, x%d)\n", screenWidth * scale, screenHeight * scale,
           screenBpp, screenWidth, screenHeight, scale);
    return 0;
}

// Set by headlessSDL: the run has no window, and reads no pad either.
static bool videoHeadless = false;

void headlessSDL(void)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    videoHeadless = true;
}

int initSDL(void)
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "ERROR: (initSDL) Unable to initialize SDL: %s\n", SDL_GetError());
        return 1;
    }
    // Starting video gave SIGINT and SIGTERM to SDL's handler; the game's own
    // replaces it.
    signalsCatchQuit();
    // The screen is never below the minimum size and the scale is never zero.
    if (screenWidth < MIN_SCREEN_WIDTH)
        screenWidth = MIN_SCREEN_WIDTH;
    if (screenHeight < MIN_SCREEN_HEIGHT)
        screenHeight = MIN_SCREEN_HEIGHT;
    screenBpp = SCREEN_BPP;
    if (scale == 0)
        scale = 1;
    const int failed = (scale == 1) ? openUnscaled() : openScaled();
    if (failed)
        return 1;
    // The game reads no mouse motion; were motion events let
    // in, moving the mouse over the window could fill SDL's event queue
    // faster than input() drains it (one event per step), delaying every press
    // and dropping a quit request when the queue is full.
    SDL_ShowCursor(SDL_DISABLE);
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    SDL_WM_SetCaption("Kettlemoor", nullptr);
    framesPerSecond = TARGET_FPS;
    // A pad left plugged in must not steer a replayed route or a test.
    if (!videoHeadless)
        inputOpenJoystick();
    return 0;
}

int cleanSDL(void)
{
    // The off-screen logical screen is ours; the display surface is SDL's.
    if (screen && screen != SDL_GetVideoSurface())
        SDL_FreeSurface(screen);
    SDL_Quit();
    inputCloseJoystick();
    signalsReleaseQuit();
    screen = nullptr;
    screenScaled = nullptr;
    return 0;
}

void sdlReset(void)
{
    cleanSDL();
    screenWidth = 160;
    screenHeight = 120;
    scale = 2;
}

// True when both surfaces have the packed rows of an even width that the
// word scalers take.
static bool rowsArePacked(void)
{
    return screen->w % 2 == 0 && screen->pitch == screen->w * 2 &&
           screenScaled->pitch == screenScaled->w * 2 &&
           screenScaled->w == screen->w * scale && screen->w == screenWidth &&
           screen->h == screenHeight;
}

// Enlarges the logical screen into the display surface: the word scalers
// for 2 and 4 where the rows allow, the general one otherwise.
static void scaleScreen(void)
{
    if (screen->format->BytesPerPixel != 2 || screenScaled->format->BytesPerPixel != 2 ||
        screenScaled->w < screen->w * scale || screenScaled->h < screen->h * scale)
        return;
    if (SDL_MUSTLOCK(screenScaled))
        SDL_LockSurface(screenScaled);
    if (scale == 2 && rowsArePacked())
        upscale2((uint32_t *)screenScaled->pixels, (uint32_t *)screen->pixels);
    else if (scale == 4 && rowsArePacked())
        upscale4((uint32_t *)screenScaled->pixels, (uint32_t *)screen->pixels);
    else
        upscaleAny((uint16_t *)screenScaled->pixels, screenScaled->pitch,
                   (const uint16_t *)screen->pixels, screen->pitch, screen->w, screen->h,
                   scale);
    if (SDL_MUSTLOCK(screenScaled))
        SDL_UnlockSurface(screenScaled);
}

int flip(void)
{
    SDL_Surface *shown = screen;
    if (scale != 1) {
        shown = screenScaled;
        // The intro draws its splash straight onto the display surface.
        if (gameMode != MODE_INTRO && screen && screenScaled)
            scaleScreen();
    }
    if (!shown || SDL_Flip(shown) == -1) {
        fprintf(stderr, "ERROR: (flip) Failed to flip the screen\n");
        return 1;
    }
#ifdef __EMSCRIPTEN__
    // SDL's video here has no window: the page copies the finished frame
    // into its canvas (the replay tool under node has no such hook).
    EM_ASM({ if (Module.showFrame) Module.showFrame($0, $1, $2, $3); }, shown->pixels, shown->w,
           shown->h, shown->pitch);
#endif
    return 0;
}

void updateScreen(void)
{
    flip();
}
