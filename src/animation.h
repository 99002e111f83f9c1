// Creature sprite sheets and animation lists.
#pragma once
#include "creature.h"

// Gives anim the sprite sheet of filename, loading it unless another creature
// already holds it, and cuts it into numOfTiles cells, row per sheet line.
void initAnim(animStruct *anim, const char *filename, int tileWidth, int tileHeight, int row, int numOfTiles);

// Builds one frame list from numOfFrames sprite indices given after anim.
void setAnim(int duration, int numOfFrames, animFrame *anim, ...);

// Lets go of anim's sprite sheet (freed with the last creature holding it),
// releases every frame list of anim and clears them.
void freeAnim(animStruct *anim);

// The number of sprite sheets loaded and held by creatures.
int animSheetsHeld(void);

// The first half of one drawn frame: restarts the animation when state is not
// the one drawn last, then returns the sprite index to show in state facing
// dir and points *list at the list it comes from; -1 when nothing is drawn.
int animBeginFrame(animStruct *anim, int state, int dir, const animFrame **list);

// The second half of one drawn frame: advances the counters of state.
void animEndFrame(animStruct *anim, int state);
