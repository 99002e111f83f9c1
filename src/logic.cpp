#include "logic.h"
#include "global.h"

gameModeEnum gameMode = MODE_EXIT;
gameModeEnum newGameMode = MODE_EXIT;
int ingameState = 0;

void logic(void) {}
void logicIntro(void) {}
void logicMenu(void) {}
void logicInGame(void) {}
void logicHiScore(void) {}
void logicEditor(void) {}
void logicWon(void) {}
