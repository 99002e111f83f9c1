#include "bench_world.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "global.h"
#include "input.h"
#include "logic.h"
#include "map.h"
#include "sdlmain.h"

// Steps between two jumps of the steered player (a jump is held for half of them).
static const int JUMP_PERIOD_STEPS = 45;

static int savedStdout = -1;

void benchQuietBegin(void)
{
    fflush(stdout);
    savedStdout = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        dup2(devNull, STDOUT_FILENO);
        close(devNull);
    }
}

void benchQuietEnd(void)
{
    fflush(stdout);
    if (savedStdout >= 0) {
        dup2(savedStdout, STDOUT_FILENO);
        close(savedStdout);
        savedStdout = -1;
    }
}

void benchWorldOpen(void)
{
    static bool opened = false;
    if (opened)
        return;
    opened = true;
    headlessSDL();
    benchQuietBegin();
    if (initSDL() != 0) {
        benchQuietEnd();
        fprintf(stderr, "benchmarks: video does not start\n");
        exit(1);
    }
    // The intro's first step reads the settings and loads the font.
    logicReset();
    newGameMode = MODE_INTRO;
    logic();
    benchQuietEnd();
}

void benchWorldStartGame(void)
{
    benchWorldOpen();
    benchQuietBegin();
    freeMap();
    memset(&keyPress, 0, sizeof keyPress);
    logicReset();
    newGameMode = MODE_INGAME;
    logic();
    benchQuietEnd();
}

void benchWorldSteer(int step)
{
    keyPress.key[RIGHT] = 1;
    keyPress.key[JUMP] = (step % JUMP_PERIOD_STEPS) < JUMP_PERIOD_STEPS / 2 ? 1 : 0;
}
