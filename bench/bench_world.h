// The game as the benchmarks see it: video on SDL's dummy driver, the intro's
// settings and font loaded, and a game of map01 started through the in-game
// mode's own first step. Run the benchmarks from the repository root, where
// ./data is.
#pragma once

// Opens video and runs the intro's first step, once per process.
void benchWorldOpen(void);

// Starts a fresh game of map01 (any level loaded before is released first).
void benchWorldStartGame(void);

// Sets the buttons of a player who runs right and jumps now and then; step
// counts the steps since the game started.
void benchWorldSteer(int step);

// The game's messages (level loading, enemies created) go nowhere between
// benchQuietBegin and benchQuietEnd, so they do not mix with the results.
void benchQuietBegin(void);
void benchQuietEnd(void);
