// Enemies: the creatures of a level other than the player, in one list.
#pragma once
#include "creature.h"

// Enemy types, numbered as level files give them.
enum {
    ENEMY_TYPE_KEY = -1,
    ENEMY_TYPE_MONKEY = 0,
    ENEMY_TYPE_SHELL = 1, // cannot be stomped
    ENEMY_TYPE_FROG = 2,
    ENEMY_TYPE_SQUID = 3,
    ENEMY_TYPE_PLANT = 4
};

// How many types there are, from the key to the plant.
const int ENEMY_TYPE_COUNT = ENEMY_TYPE_PLANT - ENEMY_TYPE_KEY + 1;

// The most creatures a level may hold: far beyond any level a player would
// make, and small enough that a level's creatures always fit in memory.
const int ENEMY_MAX_PER_LEVEL = 4096;

// Behaviour program action codes.
enum {
    AI_WAIT = 0,
    AI_TURN = 1,
    AI_JUMP = 2,
    AI_WALK = 3
};

// Directions a turn can ask for in param1.
enum {
    TURN_LEFT = 0,
    TURN_RIGHT = 1,
    TURN_TO_PLAYER = 2,
    TURN_ROUND = 3
};

// One step of a behaviour program.
struct AINode {
    int action; // AI_*
    int param1;
    int param2;
    int param3;
    int value1; // working counter, set when the action starts
};

struct Enemy {
    Creature creature;
    int type;            // -1 key, 0 monkey, 1 shell, 2 frog, 3 squid, 4 plant
    int nmbrOfAIActions;
    int curAction;       // -1 until the first update
    AINode **aiActions;  // owned
    int confusedTime;    // steps of stun left
    int dead;            // 1 when to be removed
    int carried;         // 1 while the player holds it
    int thrown;          // 1 from the throw until it comes to rest
};

struct EnemyList {
    EnemyList *next;
    Enemy mob;
    int id;
};

extern EnemyList *EnemyListHead;

// While not null, creatures that die are not freed but kept in this list, the
// last to die first, each node's id being its place in the level's list when
// it left; so a level played for a test can be given back whole.
extern EnemyList **enemyDeadKept;

// Creates one enemy at pixel (x, y) in front of oldHead; null on failure.
EnemyList *prependElement(EnemyList *oldHead, int x, int y, int type);

// Bracket a level load: between them every creature of one kind shares a
// single read of its definition file. Brackets may nest; the outermost end
// frees what was read.
void enemyBeginLoad(void);
void enemyEndLoad(void);

// Puts the enemy at (x, y) as it is made: at rest, facing right, its
// animation and behaviour program from the start, not stunned, carried or
// thrown.
void enemyPlaceAtRest(Enemy *mob, float x, float y);

// Frees every node from head on.
void cleanList(EnemyList *head);

// Frees the level's enemies and empties the list, as at start-up.
void enemyReset(void);

// Frees one node and its program.
void enemyDelete(EnemyList *enemyNode);

// Takes node out of the list *head without freeing it, and clears its next.
// Returns the place it had (0 at the head), or -1 when it was not in the list.
int enemyUnlink(EnemyList **head, EnemyList *node);

// Links node into the list *head at place (0 at the head), so that what was
// there follows it; a place beyond the end puts it last.
void enemyInsertAt(EnemyList **head, EnemyList *node, int place);

// One logic step for the whole list; removes the dead.
void enemyUpdateAll(void);

// Draws every enemy through the camera.
void enemyDrawAll(void);

// 1 when the enemy is outside the activity area around the camera.
int isEnemyTooFarAway(Enemy *enemy);

// Draws one enemy.
void enemyDraw(Enemy *enemy);

// One logic step of one enemy: program, motion, state, thrown test.
void enemyUpdate(Enemy *enemy);
