#include "draw.h"

void draw(void) {}
void drawIntro(void) {}
void drawMenu(void) {}
void drawInGame(void) {}
void drawHiScore(void) {}
void drawEditor(void) {}
void drawWon(void) {}
