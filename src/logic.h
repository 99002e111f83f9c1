// The game-mode state machine: one logic step of the current mode.
#pragma once

// One logic step: makes the requested mode current and runs its logic.
void logic(void);

void logicIntro(void);
void logicMenu(void);
void logicInGame(void);
void logicHiScore(void);
void logicEditor(void);
void logicWon(void);

// Loads the font sheet and cuts it into glyphs, once.
void logicLoadFont(void);

// Forgets every mode's initialisation, so each mode's next step is its first
// again, and leaves no mode current and play unpaused. The game never needs
// it; tests, benchmarks and fuzzers start each scenario with it.
void logicReset(void);
