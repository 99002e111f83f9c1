#include "timer.h"

void startTimer(timer *) {}
void stopTimer(timer *) {}
void pauseTimer(timer *) {}
void unpauseTimer(timer *) {}

float timerGetTicks(timer *)
{
    return 0;
}

int timerIsStarted(timer *time)
{
    return time->started;
}

int timerIsPaused(timer *time)
{
    return time->paused;
}

int countFps(int)
{
    return 0;
}
