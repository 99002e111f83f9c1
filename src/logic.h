// The game-mode state machine: one logic step of the current mode.
#pragma once

// The in-game sub-states held in ingameState.
const int INGAME_PLAYING = 0;
const int INGAME_DYING = 1;     // set by the player when its hit points run out
const int INGAME_GAME_OVER = 2; // set by the player when it has fallen out of the level
const int INGAME_PAUSED = 3;

// One logic step: makes the requested mode current and runs its logic.
void logic(void);

void logicIntro(void);
void logicMenu(void);
void logicInGame(void);
void logicHiScore(void);
void logicEditor(void);
void logicWon(void);

// The level the game and the editor work on: the -map path or the default one.
const char *logicLevelFile(void);

// Loads the font sheet and cuts it into glyphs, once.
void logicLoadFont(void);

// Forgets every mode's initialisation, so each mode's next step is its first
// again. The game never needs it; tests start each scenario with it.
void logicReset(void);
