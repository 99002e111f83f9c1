#include "intro.h"

#include "input.h"
#include "sdldraw.h"
#include "sdlmain.h"

int introController = 0;

// Logic steps each splash image stays on screen (3 seconds at 60 steps per second).
const int INTRO_SPLASH_STEPS = 180;
// Step count at which the intro is over: both splashes shown in full.
const int INTRO_END_STEPS = 2 * INTRO_SPLASH_STEPS;

// OK on the first splash jumps to the second; OK on the second ends the intro.
// Otherwise one more step of the current splash. Returns 1 when finished.
void introReset(void)
{
    introController = 0;
}

int introUpdate(void)
{
    if (takePress(OK)) {
        if (introController < INTRO_SPLASH_STEPS) {
            introController = INTRO_SPLASH_STEPS + 1;
            return 0;
        }
        introController = INTRO_END_STEPS + 1;
        return 1;
    }
    introController++;
    return introController >= INTRO_END_STEPS ? 1 : 0;
}

// Blits the current splash at the top-left corner. Above scale 1 it goes
// straight to the display surface, which is not scaled during the intro.
void introDraw(void)
{
    SDL_Surface *splash = introController < INTRO_SPLASH_STEPS ? splash1IMG : splash2IMG;
    SDL_Surface *target = scale == 1 ? screen : screenScaled;
    applySurface(0, 0, splash, target, nullptr);
}
