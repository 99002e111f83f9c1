// Hand-built levels for the collision, player, enemy and camera tests: a layer-0 grid
// allocated here, tiles whose masks hold one kind of pixel, and enemies made
// the way the level loader makes them.
#pragma once
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>

#include "animation.h"
#include "camera.h"
#include "collision.h"
#include "enemy.h"
#include "input.h"
#include "logic.h"
#include "map.h"
#include "player.h"
#include "test_util.h"

// Tile indices of the test levels. Tiles 1-4 are filled with the pixel kind of
// the same number; the low floor is empty in rows 0-3 and solid below.
enum { TILE_EMPTY, TILE_SOLID, TILE_ONE_WAY, TILE_WATER, TILE_HAZARD, TILE_LOW_FLOOR };

const int FLOOR_ROW = 7;          // tile row of the floor in most levels here, top at y 112
const int LEVEL_BOTTOM = 12 * 16; // the test levels are 20 x 12 tiles
// A 16-pixel creature at this y rests on the floor from its first step: its
// bottom edge is on the floor and gravity's 0.1 reaches into it.
const float ON_FLOOR = (float)(FLOOR_ROW * 16 - 16) + 0.95f;

inline void setTile(int x, int y, unsigned char tile) { curLvl.layer0.array[x][y] = tile; }

// Fills a rectangle of cells, corners included.
inline void fillTiles(int x0, int y0, int x1, int y1, unsigned char tile)
{
    for (int x = x0; x <= x1; x++)
        for (int y = y0; y <= y1; y++)
            setTile(x, y, tile);
}

// Replaces layer 0 with an empty w x h grid.
inline void buildLevel(int w, int h)
{
    freeMapArray(curLvl.layer0.array, curLvl.layer0.w);
    curLvl.layer0.w = w;
    curLvl.layer0.h = h;
    curLvl.layer0.array = (unsigned char **)malloc(w * sizeof(unsigned char *));
    for (int x = 0; x < w; x++)
        curLvl.layer0.array[x] = (unsigned char *)calloc(h, 1);
}

// Puts a new enemy of type in front of the list as the level loader does, then
// gives it a 16 x 16 box at (x, y).
inline Enemy *addEnemy(int type, float x, float y)
{
    // Without a display the sprite sheet is not converted, and says so.
    printed([type] { EnemyListHead = prependElement(EnemyListHead, 0, 0, type); });
    Creature &c = EnemyListHead->mob.creature;
    c.x = x; c.y = y; c.w = c.h = 16;
    return &EnemyListHead->mob;
}

// A creature's motion as "x y vx vy groundContact state", each float written
// in the shortest form that reads back exactly: 0.81 and 0.80999994 differ.
inline std::string motion(const Creature &c)
{
    char text[128], *end = text;
    for (float v : {c.x, c.y, c.vx, c.vy}) // each number, then a space
        *(end = std::to_chars(end, text + sizeof text, v).ptr)++ = ' ';
    return std::string(text, end) + std::to_string(c.groundContact) + " " + std::to_string(c.state);
}

// The globals the gameplay tests touch, as at start-up.
inline void resetGameplayGlobals(void)
{
    mapReset();
    enemyReset();
    playerReset();
    inputReset();
    logicReset();
}

// Every test starts from empty globals and a 20 x 12 level without an exit.
struct GameplayTest : ::testing::Test {
    void SetUp() override
    {
        resetGameplayGlobals();
        newGameMode = MODE_INGAME;
        camera = {0, 0, 160, 120};
        for (int tile = TILE_SOLID; tile <= TILE_HAZARD; tile++)
            memset(curLvl.layer0.colLayer[tile], tile, sizeof curLvl.layer0.colLayer[tile]);
        memset(curLvl.layer0.colLayer[TILE_LOW_FLOOR][4], 1, 12 * 16);
        buildLevel(20, 12);
        curLvl.exit = {-1, -1};
    }

    void TearDown() override
    {
        resetGameplayGlobals();
    }
};
