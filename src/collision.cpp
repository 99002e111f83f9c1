// Per-pixel collision of creature boxes with the collision masks of layer 0.
#include "collision.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "map.h"

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

Box creatureBox(const Creature *c)
{
    return Box{(int)floorf(c->x), (int)floorf(c->y), c->w, c->h};
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

// The bit of a mask pixel's kind in a set of kinds; empty and unknown values
// have none. A table of every byte value, so the scan over a tile's pixels,
// the innermost loop of every move, is one lookup a pixel.
struct MaskKindBits {
    unsigned int bit[UCHAR_MAX + 1];
    constexpr MaskKindBits() : bit()
    {
        for (int v = MASK_SOLID; v <= MASK_HAZARD; v++)
            bit[v] = 1u << v;
    }
};
static constexpr MaskKindBits maskKindBits;

static unsigned int maskKindBit(unsigned char v)
{
    return maskKindBits.bit[v];
}

// The flags a set of kinds met inside the box stands for.
static unsigned int flagsOfKinds(unsigned int kinds, Creature *creature, int tileTop)
{
    unsigned int result = 0;
    if ((kinds & maskKindBit(MASK_SOLID)) ||
        ((kinds & maskKindBit(MASK_ONE_WAY)) && oneWayHolds(creature, tileTop)))
        result |= COLLISION_SOLID;
    if (kinds & maskKindBit(MASK_WATER))
        result |= COLLISION_WATER;
    if (kinds & maskKindBit(MASK_HAZARD))
        result |= COLLISION_HAZARD;
    return result;
}

// The kinds of a mask row's pixels from column c0 to c1 (exclusive). Nearly
// every row is one kind from end to end (sky, ground, water), which two word
// compares tell; only a mixed row is read a pixel at a time.
static unsigned int rowKinds(const unsigned char *row, int c0, int c1)
{
    static_assert(TILE_SIZE == 2 * sizeof(uint64_t), "a mask row is two words");
    uint64_t words[2];
    memcpy(words, row, sizeof words);
    const uint64_t firstRepeated = row[0] * UINT64_C(0x0101010101010101);
    if (words[0] == firstRepeated && words[1] == firstRepeated)
        return maskKindBit(row[0]);
    unsigned int kinds = 0;
    for (int c = c0; c < c1; c++)
        kinds |= maskKindBit(row[c]);
    return kinds;
}

// Flags of the mask pixels of tile (tileX, tileY) that lie inside box. Only
// the rows and columns of the tile that the box covers are read, and the kinds
// met there are collected first and turned into flags once: the same answer
// as testing every pixel of the mask against the box, for a fraction of the work.
static unsigned int tileMaskFlags(Box *box, int tileX, int tileY, Creature *creature)
{
    // The part of the tile under the box, in mask rows and columns (ends exclusive).
    const int tileLeft = tileX * TILE_SIZE;
    const int tileTop = tileY * TILE_SIZE;
    const int c0 = box->x > tileLeft ? box->x - tileLeft : 0;
    const int c1 = box->x + box->w - tileLeft < TILE_SIZE ? box->x + box->w - tileLeft : TILE_SIZE;
    const int r0 = box->y > tileTop ? box->y - tileTop : 0;
    const int r1 = box->y + box->h - tileTop < TILE_SIZE ? box->y + box->h - tileTop : TILE_SIZE;
    if (c0 >= c1 || r0 >= r1)
        return 0;

    const unsigned char(*mask)[TILE_SIZE] = mapTileMask(tileX, tileY);
    unsigned int kinds = 0;
    for (int r = r0; r < r1; r++)
        kinds |= rowKinds(mask[r], c0, c1);
    return flagsOfKinds(kinds, creature, tileTop);
}

// Flag 4 if tile (tileX, tileY) is the exit and the box overlaps it; the mask does not matter.
static unsigned int exitFlag(Box *box, int tileX, int tileY)
{
    if (tileX != curLvl.exit.x || tileY != curLvl.exit.y)
        return 0;
    Box tile = {tileX * TILE_SIZE, tileY * TILE_SIZE, TILE_SIZE, TILE_SIZE};
    return boxesCollide(box, &tile) ? COLLISION_EXIT : 0;
}

// Last tile index the box covers along one axis.
static int lastTileCovered(int start, int size)
{
    return (start + size - 1) / TILE_SIZE;
}

// Flags for creature's box standing at whole pixel (newX, newY).
// Outside the level the answer is exactly "blocked": the borders are walls.
unsigned int checkCollision(int newX, int newY, Creature *creature)
{
    // The borders are walls, so a box leaving the level is simply blocked.
    if (isOutsideLevel(newX, newY, creature->w, creature->h))
        return COLLISION_SOLID;

    Box box = {newX, newY, creature->w, creature->h};
    const int tileXStart = newX / TILE_SIZE;
    const int tileYStart = newY / TILE_SIZE;
    const int tileXEnd = lastTileCovered(newX, creature->w);
    const int tileYEnd = lastTileCovered(newY, creature->h);

    // Every tile under the box adds its flags; cells past the right or bottom edge add none.
    unsigned int result = 0;
    for (int tileY = tileYStart; tileY <= tileYEnd; tileY++) {
        for (int tileX = tileXStart; tileX <= tileXEnd; tileX++) {
            if (tileY >= curLvl.layer0.h || tileX >= curLvl.layer0.w)
                continue;
            result |= exitFlag(&box, tileX, tileY);
            result |= tileMaskFlags(&box, tileX, tileY, creature);
        }
    }

    return result;
}

float clampToWaterSpeed(float v)
{
    if (v < -WATER_MAX_SPEED)
        return (float)-WATER_MAX_SPEED;
    if (v > WATER_MAX_SPEED)
        return (float)WATER_MAX_SPEED;
    return v;
}
