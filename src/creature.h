// The creature record shared by the player and every enemy.
#pragma once
#include <climits>
#include <SDL.h>
#include "global.h"

// One animation list: sprite indices into the sheet, shown in turn.
struct animFrame {
    int *frames;      // heap array of sprite indices
    int numOfFrames;  // entries in frames
    int duration;     // further drawn frames each entry stays
    Point posOfTile;  // sprite offset from the box's top-left corner
};

// One animation for both facings.
struct animDir {
    animFrame left;   // direction 0
    animFrame right;  // direction 1
};

struct animStruct {
    SDL_Surface *animIMG;   // the sprite sheet, null if it failed to load
    SDL_Rect animClip[TILE_COUNT]; // source rectangle of each sprite index
    animDir idle;
    animDir walk;
    animDir jump;           // entries 0 rising, 1 apex, 2 falling
    animDir die;            // stunned and dying
    int currentFrame;       // index into the current list
    int waitFrame;          // drawn frames to wait before advancing
    int oldState;           // the state drawn last
};

// Animation states kept in Creature::state.
enum {
    STATE_IDLE = 0,
    STATE_WALK = 1,
    STATE_RISE = 2,
    STATE_APEX = 3,
    STATE_FALL = 4,
    STATE_STUNNED = 5,
    STATE_DYING = 6
};

// Bounds of what a creature definition may give: a box side and a sprite
// offset of at most this many pixels. Every shipped creature lies far inside
// them; beyond them sums of positions and sizes could overflow.
const int CREATURE_MAX_SIDE = 256;
// Health is only ever lowered by one a hit and compared, so any amount a file
// gives is kept; half of int's range leaves room for any arithmetic on it.
const int CREATURE_MAX_HEALTH = INT_MAX / 2;

struct Creature {
    float x;           // left edge of the box, level pixels
    float y;           // top edge of the box, level pixels
    int w;             // box size in pixels
    int h;
    float vx;          // pixels per logic step, positive = right
    float vy;          // pixels per logic step, positive = down
    int hp;
    int groundContact; // 1 while standing (or swimming)
    int state;         // animation state, STATE_*
    int direction;     // 1 right, 0 left
    animStruct animation;
};

// Puts a creature at level pixel (x, y) at rest: no speed, off the ground
// until its first step finds it, standing, facing right, its animation from
// the start. A creature is placed so when it is made and when a game starts.
inline void creaturePlaceAtRest(Creature *c, float x, float y)
{
    c->x = x;
    c->y = y;
    c->vx = 0;
    c->vy = 0;
    c->groundContact = 0;
    c->state = STATE_IDLE;
    c->direction = 1;
    c->animation.currentFrame = 0;
    c->animation.waitFrame = 0;
    c->animation.oldState = 0;
}
