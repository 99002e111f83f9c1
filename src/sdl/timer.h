// Millisecond stopwatches and the frame counter.
#pragma once

typedef struct timerStruct {
    int startTicks;
    int pausedTicks;
    int paused;
    int started;
} timer;

void startTimer(timer *time);
void stopTimer(timer *time);
void pauseTimer(timer *time);
void unpauseTimer(timer *time);
float timerGetTicks(timer *time);
int timerIsStarted(timer *time);
int timerIsPaused(timer *time);

extern int _resetFrameSkip; // set by resetFrameSkip, consumed by the main loop

// Makes the next main loop pass run exactly one logic step, dropping the time
// spent blocked outside the loop (the key capture).
void resetFrameSkip(void);

// Called once per drawn frame; returns the frames drawn per interval ms.
int countFps(int interval);

// Makes every timer read ticks (ms) instead of SDL's clock until
// timerReleaseTicks; lets tests set the time.
void timerFreezeTicks(unsigned int ticks);
void timerReleaseTicks(void);

// Forgets the frame counter's state, as at program start.
void countFpsReset(void);

// Back to SDL's clock, a fresh frame counter and no pending frame skip.
void timerReset(void);
