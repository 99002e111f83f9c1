// Entry, command line and the fixed-step main loop.
#pragma once

// The whole program: switches, video, main loop, shutdown. Returns 0.
int gameMain(int argc, char **argv);

// Shuts video down and releases the level path strings: what the game
// releases when it ends. Everything else lives until the process ends.
void mainShutdown(void);

// Reads the command-line switches in order; help, version, extraction and
// bad switches set quit. Called by gameMain after it has cleared quit.
void mainReadSwitches(int argc, char **argv);

// One logic step: at most one input event, then the current mode's logic.
// The main loop runs as many as fell due; tools, tests and benchmarks that keep
// their own clock call it (or mainStepAndDraw) once per step of theirs.
void mainStep(void);

// One logic step and its frame, unless a mode change waits for the next step:
// how a driver that draws every step plays the game as the main loop does.
void mainStepAndDraw(void);

// Starts the main loop's clock at ticks (ms) with no game time owed and
// nothing to draw.
void mainLoopReset(int ticks);

// One pass of the main loop at tick count newTime (ms): runs the logic steps
// that fell due, then draws or idles. Returns the number of steps run.
int mainLoopPass(int newTime);

// 1 when a step has run whose frame is not drawn yet.
int mainLoopDrawPending(void);
