// The two splash screens shown at start-up.
#pragma once

// Intro steps so far: 0-179 first splash, 180 and above the second.
extern int introController;

// Starts the intro over, as at start-up.
void introReset(void);

// Advances the intro; returns 1 when it is finished, else 0.
int introUpdate(void);

// Draws the splash image of the current intro step.
void introDraw(void);
