// Entry, command line and the fixed-step main loop.
#pragma once

extern char *mapFile;       // level path given with -map, or null
extern char *mapFileNext;   // next-level name read from the level file, or null
extern int _resetFrameSkip; // set by resetFrameSkip, consumed by the main loop

// Makes the next loop pass run exactly one logic step, dropping the time
// spent blocked outside the loop (the key capture).
void resetFrameSkip(void);

// The whole program: switches, video, main loop, shutdown. Returns 0.
int gameMain(int argc, char **argv);

// Reads the command-line switches in order; help, version, extraction and
// bad switches set quit. Called by gameMain after it has cleared quit.
void mainReadSwitches(int argc, char **argv);

// Starts the main loop's clock at ticks (ms) with no game time owed and
// nothing to draw.
void mainLoopReset(int ticks);

// One pass of the main loop at tick count newTime (ms): runs the logic steps
// that fell due, then draws or idles. Returns the number of steps run.
int mainLoopPass(int newTime);

// 1 when a step has run whose frame is not drawn yet.
int mainLoopDrawPending(void);
