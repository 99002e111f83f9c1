// Signals from outside the game: a request to end it, and the faults of a
// write that the system would otherwise punish by ending the process.
#pragma once

// Ignores SIGPIPE and SIGXFSZ for the rest of the run, so that a write to a
// closed standard output, or past the file-size limit, fails like any other
// write (a save then fails and keeps the old file) instead of ending the game.
void signalsIgnoreFailedWrites(void);

// Takes SIGINT, SIGTERM and SIGHUP with a handler that only raises a flag for
// signalsTakeQuit, in place of SDL's own, which could hang the game; a signal
// that is ignored (under nohup, in a background job) stays ignored. Called
// once SDL has started, since starting it installs SDL's handler.
void signalsCatchQuit(void);

// Gives the signals taken by signalsCatchQuit their default action back.
void signalsReleaseQuit(void);

// Tells whether a quit signal has arrived since the last call; each signal is
// told once.
int signalsTakeQuit(void);
