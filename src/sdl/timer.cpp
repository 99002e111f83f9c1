// Millisecond stopwatches on SDL's tick counter, and the frame counter shown
// in the corner of every frame.
#include "timer.h"

#include <SDL.h>

// A tick count pinned by timerFreezeTicks, used instead of SDL's clock.
static bool ticksFrozen = false;
static Uint32 frozenTicks = 0;

// The frame counter's state between calls.
static timer fpsTimer = {0, 0, 0, 0};       // time since the last result
static timer updateFpsTimer = {0, 0, 0, 0}; // decides when a result is due
static int frame = 0;                       // calls so far
static int frameUpdate = 0;                 // value of frame at the last result
static int oldFps = 0;                      // last non-zero result

int _resetFrameSkip = 0;

void resetFrameSkip(void)
{
    _resetFrameSkip = 1;
}

// The current tick count in milliseconds.
static Uint32 currentTicks(void)
{
    return ticksFrozen ? frozenTicks : SDL_GetTicks();
}

void timerFreezeTicks(unsigned int ticks)
{
    ticksFrozen = true;
    frozenTicks = ticks;
}

void timerReleaseTicks(void)
{
    ticksFrozen = false;
}

void startTimer(timer *time)
{
    time->started = 1;
    time->paused = 0;
    time->startTicks = (int)currentTicks();
}

void stopTimer(timer *time)
{
    time->paused = 0;
    time->started = 0;
}

void pauseTimer(timer *time)
{
    if (time->started && !time->paused) {
        time->paused = 1;
        time->pausedTicks = (int)(currentTicks() - (Uint32)time->startTicks);
    }
}

// Resumes a paused timer, moving its start forward by the time it was paused.
void unpauseTimer(timer *time)
{
    if (time->paused) {
        time->paused = 0;
        time->startTicks = (int)(currentTicks() - (Uint32)time->pausedTicks);
        time->pausedTicks = 0;
    }
}

// Milliseconds since the start, less the paused time; 0 when not started.
float timerGetTicks(timer *time)
{
    if (!time->started)
        return 0;
    if (time->paused)
        return (float)time->pausedTicks;
    return (float)(Uint32)(currentTicks() - (Uint32)time->startTicks);
}

int timerIsStarted(timer *time)
{
    return time->started;
}

int timerIsPaused(timer *time)
{
    return time->paused;
}

int countFps(int interval)
{
    frame += 1;
    // The first call starts the measurement.
    if (!timerIsStarted(&fpsTimer) || !timerIsStarted(&updateFpsTimer)) {
        startTimer(&fpsTimer);
        startTimer(&updateFpsTimer);
    }
    // A new result only once per interval, so the figure stays readable.
    if (!(timerGetTicks(&updateFpsTimer) > (float)interval))
        return oldFps;
    // Frames since the last result over the time they took.
    const float intervals = timerGetTicks(&fpsTimer) / (float)interval;
    const int fpsr = (int)((float)(frame - frameUpdate) / intervals);
    frameUpdate = frame;
    startTimer(&fpsTimer);
    startTimer(&updateFpsTimer);
    // A zero never replaces the shown value.
    if (fpsr != 0)
        oldFps = fpsr;
    return oldFps;
}

void countFpsReset(void)
{
    fpsTimer = timer{0, 0, 0, 0};
    updateFpsTimer = timer{0, 0, 0, 0};
    frame = 0;
    frameUpdate = 0;
    oldFps = 0;
}

void timerReset(void)
{
    timerReleaseTicks();
    countFpsReset();
    _resetFrameSkip = 0;
}
