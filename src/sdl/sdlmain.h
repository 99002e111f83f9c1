// Video mode, the logical screen and presentation.
#pragma once
#include <SDL.h>

extern int screenWidth;      // logical size in pixels
extern int screenHeight;
extern int screenBpp;
extern int screenFlags;
extern int scale;            // display pixels per logical pixel
extern int framesPerSecond;  // target rate shown beside the measured one
extern SDL_Surface *screen;       // the logical screen every drawing goes to
extern SDL_Surface *screenScaled; // the display surface when scale != 1

// Chooses SDL's dummy video driver, which draws into memory and opens no
// window, whatever the environment says, and leaves any joystick unopened;
// for runs without a display. Call it before initSDL.
void headlessSDL(void);

// Opens video; 0 on success, 1 on failure.
int initSDL(void);

// Shuts SDL down; returns 0.
int cleanSDL(void);

// Shuts SDL down and puts the screen size and scale back to their defaults.
void sdlReset(void);

// Scales the logical screen into the display and presents it; 0 on success.
int flip(void);

// Presents the frame, ignoring failures.
void updateScreen(void);
