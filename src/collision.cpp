// Per-pixel collision of creature boxes with the collision masks of layer 0.
#include "collision.h"

#include <cmath>

#include "map.h"

// Mask pixel kinds, as the collision layer file stores them.
enum {
    MASK_EMPTY = 0,
    MASK_SOLID = 1,
    MASK_ONE_WAY = 2,
    MASK_WATER = 3,
    MASK_HAZARD = 4
};

// 1 if (x, y) lies inside box (right and bottom edges exclusive).
int isPixelInsideBox(Box *box, int x, int y)
{
    return box->x <= x && x < box->x + box->w && box->y <= y && y < box->y + box->h;
}

// 1 if the two boxes overlap; boxes that only share an edge do not.
int boxesCollide(Box *box1, Box *box2)
{
    return box2->x < box1->x + box1->w && box2->y < box1->y + box1->h &&
           box1->x < box2->x + box2->w && box1->y < box2->y + box2->h;
}

// 1 if a box of w x h at (x, y) would stick out of layer 0.
static int isOutsideLevel(int x, int y, int w, int h)
{
    const int levelW = curLvl.layer0.w * TILE_SIZE;
    const int levelH = curLvl.layer0.h * TILE_SIZE;
    return x < 0 || x > levelW - w || y < 0 || y > levelH - h;
}

// 1 if the one-way pixels of the tile row starting at tileTop hold the creature:
// it is not moving up and its current bottom edge is at or above the tile's top.
static int oneWayHolds(Creature *creature, int tileTop)
{
    return creature->vy >= 0 && (int)floorf(creature->y) + creature->h <= tileTop;
}

// Flags of the mask pixels of tile (tileX, tileY) that lie inside box.
static unsigned int tileMaskFlags(Box *box, int tileX, int tileY, Creature *creature)
{
    unsigned char mask[TILE_SIZE][TILE_SIZE];
    returnColArray(mask, tileX, tileY);
    const int oneWaySolid = oneWayHolds(creature, tileY * TILE_SIZE);

    unsigned int result = 0;
    for (int r = 0; r < TILE_SIZE; r++) {
        for (int c = 0; c < TILE_SIZE; c++) {
            const int v = mask[r][c];
            if (v == MASK_EMPTY || !isPixelInsideBox(box, tileX * TILE_SIZE + c, tileY * TILE_SIZE + r))
                continue;
            if (v == MASK_SOLID || (v == MASK_ONE_WAY && oneWaySolid))
                result |= COLLISION_SOLID;
            else if (v == MASK_WATER)
                result |= COLLISION_WATER;
            else if (v == MASK_HAZARD)
                result |= COLLISION_HAZARD;
        }
    }
    return result;
}

// Flag 4 if tile (tileX, tileY) is the exit and the box overlaps it; the mask does not matter.
static unsigned int exitFlag(Box *box, int tileX, int tileY)
{
    if (tileX != curLvl.exit.x || tileY != curLvl.exit.y)
        return 0;
    Box tile = {tileX * TILE_SIZE, tileY * TILE_SIZE, TILE_SIZE, TILE_SIZE};
    return boxesCollide(box, &tile) ? COLLISION_EXIT : 0;
}

// Last tile index to scan along one axis: every tile the box overlaps, and never
// fewer than two, so the tile of the top-left pixel and its neighbour are always seen.
static int lastTileToScan(int start, int size)
{
    const int last = (start + size - 1) / TILE_SIZE;
    const int first = start / TILE_SIZE;
    return last > first + 1 ? last : first + 1;
}

// Flags for creature's box standing at whole pixel (newX, newY).
// Outside the level the answer is exactly "blocked": the borders are walls.
unsigned int checkCollision(int newX, int newY, Creature *creature)
{
    // 1. Leaving the level.
    if (isOutsideLevel(newX, newY, creature->w, creature->h))
        return COLLISION_SOLID;

    // 2. The box and the tiles it starts in.
    Box box = {newX, newY, creature->w, creature->h};
    const int tileXStart = newX / TILE_SIZE;
    const int tileYStart = newY / TILE_SIZE;
    const int tileXEnd = lastTileToScan(newX, creature->w);
    const int tileYEnd = lastTileToScan(newY, creature->h);

    // 3. The tiles under the box, row by row.
    unsigned int result = 0;
    for (int tileY = tileYStart; tileY <= tileYEnd; tileY++) {
        for (int tileX = tileXStart; tileX <= tileXEnd; tileX++) {
            if (tileY >= curLvl.layer0.h || tileX >= curLvl.layer0.w)
                continue;
            result |= exitFlag(&box, tileX, tileY);
            result |= tileMaskFlags(&box, tileX, tileY, creature);
        }
    }

    // 4. The flags.
    return result;
}
