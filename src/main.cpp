// Entry: the command-line switches, video start, the fixed-step main loop
// and shutdown.
//
// How a frame runs. Each pass of the loop reads SDL's millisecond ticks and
// adds the time since the previous pass to an accumulator. While a whole
// logic step (1000/60 ms) is owed, one step runs: input() takes at most one
// event into the button state, then logic() makes the requested mode current
// and runs that mode's step (the player, the creatures, the menu, the editor).
// After the steps that fell due, draw() draws the current mode once into the
// 160x120 logical screen and flip() scales it onto the display; nothing is
// drawn while a mode change waits for the next step, and a pass with nothing
// to draw sleeps. Game time is counted in steps, never in frames, so a slow
// machine draws fewer frames but plays the same game.
#include "main.h"

#include "audio.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <SDL.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "draw.h"
#include "global.h"
#include "input.h"
#include "logic.h"
#include "map.h"
#include "sdlmain.h"
#include "signals.h"
#include "timer.h"
#include "tools.h"

int quit = 0;

// Length of one logic step in milliseconds: 60 steps per second.
static const double FRAME_TIME_MS = 1000.0 / 60;

static const char VERSION_LINE[] = "Kettlemoor version %d.%d.%d\n";
static const char HELP_TEXT[] =
    "-r or -res [w h]\t\t\tsets the resolution to the given values (default 320 240)\n"
    "-s or -scale [1-3]\t\t\tscales the screen the given times (default 1)\n"
    "-e or -extract [input.bmp output.col]\treads the input bitmap and extracts the collision data to the output location\n"
    "-v or -version\t\t\t\tdisplays the program version\n"
    "-h or -help\t\t\t\tthis screen\n";
static const char MISSING_VALUES[] = "Not enough arguments for %s\n";
static const char UNKNOWN_SWITCH[] =
    "Unknown command \"%s\", try -help for the list of available commands\n";
static const char VIDEO_FAILED[] = "ERROR: Failed to init SDL\n";

// The loop's state between passes, kept here so that one pass can be run
// on its own with a tick count of the caller's choosing.
static int loopCurrentTime = 0;      // tick count of the previous pass, ms
static double loopAccumulator = 0.0; // game time not yet consumed by steps, ms
static int loopShouldDraw = 0;       // a step ran since the last frame was drawn

// ---- command line ----

// True when arg is the switch in its long or short form (case-sensitive).
static bool isSwitch(const char *arg, const char *longForm, const char *shortForm)
{
    return strcmp(arg, longForm) == 0 || strcmp(arg, shortForm) == 0;
}

// True when argv[k] exists and can be a switch's value: values never begin with '-'.
static bool hasValue(int argc, char **argv, int k)
{
    return k < argc && argv[k][0] != '-';
}

// Reports a switch whose values are missing.
static void reportMissingValues(const char *arg)
{
    fprintf(stderr, MISSING_VALUES, arg);
}

// Prints the version line.
static void printVersion(void)
{
    printf(VERSION_LINE, VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
}

// -res w h: the logical resolution (minimums are applied when video starts).
static void switchResolution(int argc, char **argv, int i)
{
    if (!hasValue(argc, argv, i + 1) || !hasValue(argc, argv, i + 2)) {
        reportMissingValues(argv[i]);
        quit = 1;
        return;
    }
    screenWidth = atoi(argv[i + 1]);
    screenHeight = atoi(argv[i + 2]);
}

// -scale n: the scale factor, checked when video starts.
static void switchScale(int argc, char **argv, int i)
{
    if (!hasValue(argc, argv, i + 1)) {
        reportMissingValues(argv[i]);
        quit = 1;
        return;
    }
    scale = atoi(argv[i + 1]);
}

// -extract input output: runs the collision extraction tool at once, with
// whatever resolution and scale came before it, then ends the program.
static void switchExtract(int argc, char **argv, int i)
{
    if (!hasValue(argc, argv, i + 1) || !hasValue(argc, argv, i + 2)) {
        reportMissingValues(argv[i]);
        quit = 1;
        return;
    }
    if (initSDL() != 0)
        fprintf(stderr, VIDEO_FAILED);
    extractCollisionData(argv[i + 1], argv[i + 2]);
    cleanSDL();
    quit = 1;
}

// -map path: the level to play and edit; a later -map replaces an earlier
// one. A missing path only reports: the game then starts with the default level.
static void switchMap(int argc, char **argv, int i)
{
    if (!hasValue(argc, argv, i + 1)) {
        reportMissingValues(argv[i]);
        return;
    }
    free(mapFile);
    mapFile = strdup(argv[i + 1]);
    printf("Loading map: %s\n", argv[i + 1]);
}

void mainReadSwitches(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (isSwitch(arg, "-res", "-r")) {
            switchResolution(argc, argv, i);
        } else if (isSwitch(arg, "-scale", "-s")) {
            switchScale(argc, argv, i);
        } else if (isSwitch(arg, "-extract", "-e")) {
            switchExtract(argc, argv, i);
        } else if (isSwitch(arg, "-map", "-m")) {
            switchMap(argc, argv, i);
        } else if (isSwitch(arg, "-help", "-h")) {
            printVersion();
            printf("%s", HELP_TEXT);
            quit = 1;
        } else if (isSwitch(arg, "-version", "-v")) {
            printVersion();
            quit = 1;
        } else if (arg[0] == '-') {
            printf(UNKNOWN_SWITCH, arg);
            quit = 1;
        }
        // Plain words (and the values of the switches above) are ignored.
    }
}

// ---- main loop ----

void mainStep(void)
{
    input();
    logic();
}

void mainStepAndDraw(void)
{
    mainStep();
    if (gameMode == newGameMode)
        draw();
}

void mainLoopReset(int ticks)
{
    loopCurrentTime = ticks;
    loopAccumulator = 0.0;
    loopShouldDraw = 0;
}

int mainLoopDrawPending(void)
{
    return loopShouldDraw;
}

// Owes the game the time since the previous pass; after a stall outside the
// loop (the key capture) it owes exactly one step and drops the rest.
static void loopAddTime(int newTime)
{
    if (_resetFrameSkip) {
        _resetFrameSkip = 0;
        loopAccumulator = FRAME_TIME_MS;
        return;
    }
    // Unsigned difference: the tick counter may wrap past INT_MAX.
    const int deltaTime = (int)((Uint32)newTime - (Uint32)loopCurrentTime);
    loopAccumulator += deltaTime;
}

// Runs every logic step that fell due, with no cap and without looking at
// quit in between; returns how many ran.
static int loopRunSteps(void)
{
    int steps = 0;
    while (loopAccumulator >= FRAME_TIME_MS) {
        loopAccumulator -= FRAME_TIME_MS;
        mainStep();
        steps++;
    }
    if (steps > 0)
        loopShouldDraw = 1;
    return steps;
}

#ifndef __EMSCRIPTEN__
// How long a pass with nothing to draw sleeps: until the next step falls due,
// rounded down, and at least 1 ms. Waking every millisecond only to find
// nothing to do cost more processor time than the game itself, which matters
// on a battery; the steps and frames come out the same either way.
static Uint32 loopIdleDelayMs(void)
{
    const double untilNextStep = FRAME_TIME_MS - loopAccumulator;
    return untilNextStep >= 2.0 ? (Uint32)untilNextStep : 1;
}
#endif

// Draws one frame when a step ran, sleeps when there is nothing to draw,
// and does neither while a mode change waits for the next step.
static void loopPresent(void)
{
    if (gameMode != newGameMode)
        return;
    if (loopShouldDraw) {
        draw();
        loopShouldDraw = 0;
    } else {
#ifndef __EMSCRIPTEN__
        // In a browser the page calls one pass per display frame; a sleep
        // here would only hold the page up.
        SDL_Delay(loopIdleDelayMs());
#endif
    }
}

int mainLoopPass(int newTime)
{
    loopAddTime(newTime);
    const int steps = loopRunSteps();
    audioDeliver();
    loopPresent();
    loopCurrentTime = newTime;
    return steps;
}

#ifdef __EMSCRIPTEN__
// The browser's frame callback: a page cannot loop, so the browser runs one
// pass per display frame until quit is set; then the program shuts down and
// ends. The key capture may give the page back to the browser in the middle
// of a pass; the pass then carries on where it stopped once a key arrives.
static void mainLoopBrowserFrame(void)
{
    if (quit == 0) {
        mainLoopPass((int)SDL_GetTicks());
        return;
    }
    emscripten_cancel_main_loop();
    mainShutdown();
    emscripten_force_exit(0);
}
#endif

// Runs passes until quit is set.
static void mainLoopRun(void)
{
    mainLoopReset((int)SDL_GetTicks());
#ifdef __EMSCRIPTEN__
    emscripten_set_main_loop(mainLoopBrowserFrame, 0, 1);
#else
    while (quit == 0)
        mainLoopPass((int)SDL_GetTicks());
#endif
}

// ---- start and end ----

// Opens video; a failure ends the program before the loop.
static void mainStartVideo(void)
{
    if (initSDL() != 0) {
        quit = 1;
        fprintf(stderr, VIDEO_FAILED);
    }
}

void mainShutdown(void)
{
    audioStop();
    cleanSDL();
    mapForgetFiles();
}

int gameMain(int argc, char **argv)
{
    // Before any switch runs: -extract saves a file at once.
    signalsIgnoreFailedWrites();
    quit = 0;
    mainReadSwitches(argc, argv);
    if (quit == 0) {
        mainStartVideo();
        audioStart();
    }
    newGameMode = MODE_INTRO;
    mainLoopRun();
    mainShutdown();
    return 0;
}
