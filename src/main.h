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
