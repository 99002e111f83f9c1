// Hand-built levels and creatures for the collision, player and enemy tests:
// a layer-0 grid allocated here, tiles with simple masks, and enemy nodes
// allocated the way the level loader allocates them (malloc'd node, program
// array and program nodes), so that the list code may free them.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "animation.h"
#include "camera.h"
#include "collision.h"
#include "enemy.h"
#include "input.h"
#include "map.h"
#include "player.h"

// Tile indices of the test levels, given masks by GameplayTest::SetUp.
enum {
    TILE_EMPTY = 0,
    TILE_SOLID = 1,  // every pixel solid
    TILE_ONE_WAY = 2, // every pixel one-way
    TILE_WATER = 3,  // every pixel water
    TILE_HAZARD = 4, // every pixel hazard
    TILE_LOW_FLOOR = 5 // empty rows 0-3, solid rows 4-15
};

// Fills rows r0..r1 of a tile's mask with one pixel kind.
inline void setMaskRows(int tile, int r0, int r1, unsigned char kind)
{
    for (int r = r0; r <= r1; r++)
        memset(curLvl.layer0.colLayer[tile][r], kind, TILE_SIZE);
}

// Puts tile into cell (x, y) of layer 0.
inline void setTile(int x, int y, unsigned char tile)
{
    curLvl.layer0.array[x][y] = tile;
}

// Fills a rectangle of cells, corners included.
inline void fillTiles(int x0, int y0, int x1, int y1, unsigned char tile)
{
    for (int x = x0; x <= x1; x++)
        for (int y = y0; y <= y1; y++)
            setTile(x, y, tile);
}

// Allocates an empty w x h layer 0 with no exit.
inline void buildLevel(int w, int h)
{
    curLvl.layer0.w = w;
    curLvl.layer0.h = h;
    curLvl.layer0.array = (unsigned char **)malloc(w * sizeof(unsigned char *));
    for (int x = 0; x < w; x++)
        curLvl.layer0.array[x] = (unsigned char *)calloc(h, 1);
    curLvl.exit = {-1, -1};
}

inline void freeLevel(void)
{
    if (curLvl.layer0.array != nullptr) {
        for (int x = 0; x < curLvl.layer0.w; x++)
            free(curLvl.layer0.array[x]);
        free(curLvl.layer0.array);
    }
    curLvl.layer0.array = nullptr;
    curLvl.layer0.w = 0;
    curLvl.layer0.h = 0;
}

// Prepends a new enemy with the given box and program, as the level loader does.
inline Enemy *addEnemy(int type, float x, float y, int w, int h, std::initializer_list<AINode> program)
{
    EnemyList *node = (EnemyList *)calloc(1, sizeof(EnemyList));
    node->mob.type = type;
    node->mob.creature.x = x;
    node->mob.creature.y = y;
    node->mob.creature.w = w;
    node->mob.creature.h = h;
    node->mob.creature.direction = 1;
    node->mob.curAction = -1;
    node->mob.nmbrOfAIActions = (int)program.size();
    node->mob.aiActions = (AINode **)malloc(program.size() * sizeof(AINode *));
    int i = 0;
    for (const AINode &step : program) {
        node->mob.aiActions[i] = (AINode *)malloc(sizeof(AINode));
        *node->mob.aiActions[i] = step;
        i++;
    }
    node->next = EnemyListHead;
    EnemyListHead = node;
    return &node->mob;
}

// The shipped programs, node by node.
const std::initializer_list<AINode> KEY_PROGRAM = {{0, 0, 0, 0, 0}};
const std::initializer_list<AINode> MONKEY_PROGRAM = {{0, 60, 0, 0, 0}, {2, 0, 20, 0, 0}};
const std::initializer_list<AINode> SHELL_PROGRAM = {{3, 4, 0, 0, 0}, {1, 3, 0, 0, 0}};
const std::initializer_list<AINode> FROG_PROGRAM = {{0, 180, 0, 0, 0}, {1, 2, 0, 0, 0}, {2, 10, 30, 0, 0}};

// Frees what is left of the enemy list.
inline void freeEnemies(void)
{
    while (EnemyListHead != nullptr) {
        EnemyList *node = EnemyListHead;
        EnemyListHead = node->next;
        for (int i = 0; i < node->mob.nmbrOfAIActions; i++)
            free(node->mob.aiActions[i]);
        free(node->mob.aiActions);
        free(node);
    }
}

// Every test starts from empty globals and a 20 x 12 level with the test tiles' masks.
class GameplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        memset(&curLvl, 0, sizeof curLvl);
        memset(&player, 0, sizeof player);
        memset(&keyPress, 0, sizeof keyPress);
        EnemyListHead = nullptr;
        ignoreKeys = 0;
        hackPlayerIsInWater = 0;
        enemyCarried = nullptr;
        dontPickupEnemyTimer = 0;
        invincibilityTimer = 0;
        hasKey = 0;
        ingameState = 0;
        newGameMode = MODE_INGAME;
        camera = {0, 0, 160, 120};
        setMaskRows(TILE_SOLID, 0, 15, 1);
        setMaskRows(TILE_ONE_WAY, 0, 15, 2);
        setMaskRows(TILE_WATER, 0, 15, 3);
        setMaskRows(TILE_HAZARD, 0, 15, 4);
        setMaskRows(TILE_LOW_FLOOR, 4, 15, 1);
        buildLevel(20, 12);
    }

    void TearDown() override
    {
        freeEnemies();
        freeLevel();
        freeAnim(&player.animation);
    }
};

// A y at which a creature of height h rests on a floor whose top is floorTop:
// the bottom edge is on the floor and gravity's 0.1 reaches into it, so the
// creature stays put with ground contact from its first step.
inline float restingY(int floorTop, int h)
{
    return (float)(floorTop - h) + 0.95f;
}
