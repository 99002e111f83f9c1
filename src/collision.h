// Per-pixel collision of creature boxes with the level's masks.
#pragma once
#include "creature.h"

// Collision result flags.
enum {
    COLLISION_SOLID = 1,
    COLLISION_WATER = 2,
    COLLISION_EXIT = 4,
    COLLISION_HAZARD = 8
};

// Mask pixel kinds, as the collision layer file stores them and the
// extraction tool paints them.
enum {
    MASK_EMPTY = 0,
    MASK_SOLID = 1,
    MASK_ONE_WAY = 2,
    MASK_WATER = 3,
    MASK_HAZARD = 4
};

// Every creature in water moves at most this fast along each axis, px/step.
const double WATER_MAX_SPEED = 0.1;

// Clamps a speed to the water's limit (compared in double, stored as float).
float clampToWaterSpeed(float v);

// 1 if (x, y) lies inside box (right and bottom edges exclusive).
int isPixelInsideBox(Box *box, int x, int y);

// 1 if the two boxes overlap; boxes that only share an edge do not.
int boxesCollide(Box *box1, Box *box2);

// The creature's box at the whole pixels of its position.
Box creatureBox(const Creature *c);

// Flags for creature's box standing at whole pixel (newX, newY).
unsigned int checkCollision(int newX, int newY, Creature *creature);
