// Per-mode drawing of one frame.
#pragma once

// Draws the current mode, the frame counter, and presents the frame.
void draw(void);

void drawIntro(void);
void drawMenu(void);
void drawInGame(void);
void drawHiScore(void);
void drawEditor(void);
void drawWon(void);
