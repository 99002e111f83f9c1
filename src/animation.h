// Creature sprite sheets and animation lists.
#pragma once
#include "creature.h"

// Loads a sprite sheet and cuts it into numOfTiles cells, row per sheet line.
void initAnim(animStruct *anim, const char *filename, int tileWidth, int tileHeight, int row, int numOfTiles);

// Builds one frame list from numOfFrames sprite indices given after anim.
void setAnim(int duration, int numOfFrames, animFrame *anim, ...);

// Releases the sprite sheet and every frame list of anim and clears them.
void freeAnim(animStruct *anim);
