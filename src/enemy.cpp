#include "enemy.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "animation.h"
#include "camera.h"
#include "collision.h"
#include "fileio.h"
#include "map.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"

EnemyList *EnemyListHead = nullptr;

// ---- the list and its records ----

// The longest behaviour program of any type, in nodes.
const int ENEMY_MAX_PROGRAM_NODES = 3;

// What an enemy of one type is made of: its sprite sheet and how it is cut,
// its definition file, and its behaviour program.
struct EnemyKind {
    const char *sheet;
    int tileWidth;
    int tileHeight;
    int row;
    int numOfTiles;
    const char *file;
    int nodes;
    AINode program[ENEMY_MAX_PROGRAM_NODES]; // action, param1, param2, param3, value1
};

// Directions a turn can ask for in param1.
enum {
    TURN_LEFT = 0,
    TURN_RIGHT = 1,
    TURN_TO_PLAYER = 2,
    TURN_ROUND = 3
};

// Indexed by type + 1: key, monkey, shell, frog, squid, plant.
static const EnemyKind enemyKinds[] = {
    {"data/gfx/keyAni.bmp", 16, 16, 1, 8, "data/mobs/key.dat", 1, {{AI_WAIT, 0, 0, 0, 0}}},
    {"data/gfx/monkeyAni.bmp", 16, 16, 16, TILE_COUNT, "data/mobs/monkey.dat", 2,
     {{AI_WAIT, 60, 0, 0, 0}, {AI_JUMP, 0, 20, 0, 0}}},
    {"data/gfx/shellAni.bmp", 16, 16, 16, TILE_COUNT, "data/mobs/shell.dat", 2,
     {{AI_WALK, 4, 0, 0, 0}, {AI_TURN, TURN_ROUND, 0, 0, 0}}},
    {"data/gfx/frogAni.bmp", 20, 16, 3, 24, "data/mobs/frog.dat", 3,
     {{AI_WAIT, 180, 0, 0, 0}, {AI_TURN, TURN_TO_PLAYER, 0, 0, 0}, {AI_JUMP, 10, 30, 0, 0}}},
    {"data/gfx/squidAni.bmp", 17, 16, 3, 24, "data/mobs/squid.dat", 2,
     {{AI_WALK, 2, 0, 0, 0}, {AI_TURN, TURN_ROUND, 0, 0, 0}}},
    {"data/gfx/plantAni.bmp", 16, 16, 3, 24, "data/mobs/plant.dat", 2,
     {{AI_WAIT, 60, 0, 0, 0}, {AI_JUMP, 0, 20, 0, 0}}},
};

void enemyReset(void)
{
    cleanList(EnemyListHead);
    EnemyListHead = nullptr;
}

// Reports an enemy that could not be made for want of memory; returns null.
static EnemyList *enemyOutOfMemory(void)
{
    fprintf(stderr, "ERROR (prependElement): Out of memory!\n");
    return nullptr;
}

// Gives the enemy its own copy of its type's behaviour program, to start at
// the first update. Returns 1 when out of memory, with nothing left allocated.
static int enemyBuildProgram(Enemy *mob, const EnemyKind *kind)
{
    mob->aiActions = static_cast<AINode **>(calloc(kind->nodes, sizeof(AINode *)));
    if (!mob->aiActions)
        return 1;
    mob->nmbrOfAIActions = kind->nodes;
    for (int i = 0; i < kind->nodes; i++) {
        mob->aiActions[i] = static_cast<AINode *>(malloc(sizeof(AINode)));
        if (!mob->aiActions[i])
            return 1;
        *mob->aiActions[i] = kind->program[i];
    }
    mob->curAction = -1;
    return 0;
}

// Puts a new enemy at (x, y), at rest, facing right, with its animation from the start.
static void enemyPlace(Enemy *mob, int x, int y)
{
    Creature &c = mob->creature;
    c.x = static_cast<float>(x);
    c.y = static_cast<float>(y);
    c.vx = 0;
    c.vy = 0;
    c.groundContact = 0;
    c.state = STATE_IDLE;
    c.direction = 1;
    c.animation.currentFrame = 0;
    c.animation.waitFrame = 0;
    c.animation.oldState = 0;
    mob->confusedTime = 0;
    mob->dead = 0;
    mob->carried = 0;
    mob->thrown = 0;
}

EnemyList *prependElement(EnemyList *oldHead, int x, int y, int type)
{
    // A type the game has no creature for is refused; the list stays as it was.
    if (type < ENEMY_TYPE_KEY || type > ENEMY_TYPE_PLANT) {
        printf("WARNING: (prependElement) Unknown enemy type %d at %d:%d. Ignoring...\n", type, x, y);
        return oldHead;
    }
    const EnemyKind *kind = &enemyKinds[type - ENEMY_TYPE_KEY];

    // Zeroed, so every pointer is null and a half-built node can be deleted.
    EnemyList *node = static_cast<EnemyList *>(calloc(1, sizeof(EnemyList)));
    if (!node)
        return enemyOutOfMemory();

    node->mob.type = type;
    printf("%d:%d:%d\n", x, y, type);

    // Sheet, definitions and program.
    initAnim(&node->mob.creature.animation, kind->sheet, kind->tileWidth, kind->tileHeight, kind->row,
             kind->numOfTiles);
    loadMobConfig(&node->mob.creature, kind->file);
    if (enemyBuildProgram(&node->mob, kind)) {
        enemyDelete(node);
        return enemyOutOfMemory();
    }

    enemyPlace(&node->mob, x, y);
    node->next = oldHead;
    return node;
}

void cleanList(EnemyList *head)
{
    while (head) {
        EnemyList *next = head->next;
        enemyDelete(head);
        head = next;
    }
}

void enemyDelete(EnemyList *enemyNode)
{
    if (!enemyNode)
        return;
    Enemy &mob = enemyNode->mob;
    if (mob.aiActions) {
        for (int i = 0; i < mob.nmbrOfAIActions; i++)
            free(mob.aiActions[i]);
        free(mob.aiActions);
    }
    // Every enemy has its own sheet and frame lists.
    freeAnim(&mob.creature.animation);
    free(enemyNode);
}

// ---- updating and drawing the list ----

// How far beyond half the screen an enemy's centre may be from the camera's
// centre and still be updated, in pixels.
const int ACTIVITY_MARGIN = 48;

// One logic step for the whole list: enemies near the camera (and knocked-out
// ones wherever they are) move; frozen ones lose their stun; the dead are
// unlinked and freed in the same step, so they are never drawn dead.
void enemyUpdateAll(void)
{
    EnemyList *enemyListLast = nullptr;
    EnemyList *node = EnemyListHead;
    while (node != nullptr) {
        Enemy *mob = &node->mob;
        if (isEnemyTooFarAway(mob) == 0 || mob->creature.state == STATE_DYING)
            enemyUpdate(mob);
        else
            mob->confusedTime = 0;

        EnemyList *next = node->next;
        if (mob->dead == 1) {
            if (enemyListLast == nullptr)
                EnemyListHead = next;
            else
                enemyListLast->next = next;
            enemyDelete(node);
        } else {
            enemyListLast = node;
        }
        node = next;
    }
}

// Draws every enemy through the camera; later nodes over earlier ones.
void enemyDrawAll(void)
{
    for (EnemyList *node = EnemyListHead; node != nullptr; node = node->next)
        enemyDraw(&node->mob);
}

// 1 when the enemy's centre is farther from the camera's centre than half the
// screen plus the margin along either axis.
int isEnemyTooFarAway(Enemy *enemy)
{
    const Creature *c = &enemy->creature;
    const int allowedDistanceX = screenWidth / 2 + ACTIVITY_MARGIN;
    const int allowedDistanceY = screenHeight / 2 + ACTIVITY_MARGIN;
    const int distanceX = (int)((float)(camera.x + camera.w / 2) - (c->x + (float)(c->w / 2)));
    const int distanceY = (int)((float)(camera.y + camera.h / 2) - (c->y + (float)(c->h / 2)));
    return abs(distanceX) > allowedDistanceX || abs(distanceY) > allowedDistanceY;
}

// Draws one enemy with its box at its place on the screen, whatever its distance.
void enemyDraw(Enemy *enemy)
{
    Creature *c = &enemy->creature;
    SDL_Rect coord;
    coord.x = (Sint16)(int)(floorf(c->x) - (float)camera.x);
    coord.y = (Sint16)(int)(floorf(c->y) - (float)camera.y);
    coord.w = (Uint16)c->w;
    coord.h = (Uint16)c->h;
    drawAnim(c, coord, c->state, c->direction);
}

// ---- behaviour programs and motion ----

// Program speeds are written as tenths of a pixel per step.
const float AI_SPEED_TENTHS = 10.0f;

// Tuning of the enemies' motion. Those typed double are applied in double
// precision and stored back as float.
const double ENEMY_GRAVITY = 0.1;             // added to vy every step, px/step
const double STUN_BOUNCE_FACTOR = -0.4;       // vy factor of a stunned enemy hitting floor or ceiling
const float STUN_SETTLE_SPEED = -0.5f;        // a bounce slower than this settles, px/step
const double SLIDE_FRICTION = 0.9;            // vx factor per step of a stunned enemy on the ground
const double SLIDE_STOP_SPEED = 0.1;          // a slide slower than this stops, px/step
const double WALL_BOUNCE_FACTOR = -0.7;       // vx factor of a stunned enemy hitting a wall in the air
const float KNOCKOUT_LAUNCH_SPEED = -0.8f;    // vy of a knocked-out enemy, px/step

// Moves the program on to its next node, wrapping round at the end.
static void enemyAdvance(Enemy *enemy)
{
    enemy->curAction = (enemy->curAction + 1) % enemy->nmbrOfAIActions;
}

// Wait: stand for param1 steps, the starting step included. Returns 1 when done.
static int enemyWait(Enemy *enemy, AINode *node, int newAction)
{
    enemy->creature.vx = 0;
    if (newAction) {
        node->value1 = node->param1;
        return 0;
    }
    node->value1--;
    return node->value1 == 0;
}

// Turn: face left, right, the player, or the other way. Always done at once.
static int enemyTurn(Enemy *enemy, AINode *node)
{
    Creature *c = &enemy->creature;
    c->vx = 0;
    switch (node->param1) {
    case TURN_LEFT:
        c->direction = 0;
        break;
    case TURN_RIGHT:
        c->direction = 1;
        break;
    case TURN_TO_PLAYER:
        c->direction = player.x < c->x ? 0 : 1;
        break;
    case TURN_ROUND:
        c->direction = c->direction == 0 ? 1 : 0;
        break;
    default:
        break;
    }
    return 1;
}

// Jump: leap ahead at param1 and up at param2 tenths; done once back on the ground.
static int enemyJump(Enemy *enemy, AINode *node, int newAction)
{
    Creature *c = &enemy->creature;
    if (newAction) {
        const float speed = (float)node->param1 / AI_SPEED_TENTHS;
        c->vx = c->direction == 0 ? -speed : speed;
        c->vy = -((float)node->param2 / AI_SPEED_TENTHS);
        c->groundContact = 0;
        return 0;
    }
    return c->groundContact == 1;
}

// Walk: move ahead at param1 tenths for param2 steps (0: until stopped). Returns 1 when done.
static int enemyWalk(Enemy *enemy, AINode *node, int newAction)
{
    Creature *c = &enemy->creature;
    if (newAction) {
        node->value1 = node->param2 != 0 ? node->param2 : -1;
        const float walkSpeed = (float)node->param1 / AI_SPEED_TENTHS;
        c->vx = c->direction == 0 ? -walkSpeed : walkSpeed;
        if (node->value1 > 0)
            node->value1--;
        return 0;
    }
    const int done = c->groundContact == 1 && (c->vx == 0 || node->value1 == 0);
    if (node->value1 > 0)
        node->value1--;
    return done;
}

// Handles the current node; returns 1 when the program is to advance now.
static int enemyHandleNode(Enemy *enemy, AINode *node, int newAction)
{
    switch (node->action) {
    case AI_WAIT:
        return enemyWait(enemy, node, newAction);
    case AI_TURN:
        return enemyTurn(enemy, node);
    case AI_JUMP:
        return enemyJump(enemy, node, newAction);
    case AI_WALK:
        return enemyWalk(enemy, node, newAction);
    default:
        return 1;
    }
}

// Runs the program until a node hands control back for this step. A step can
// pass every node at most once, which also stops a program of nothing but
// turns from spinning forever.
static void enemyRunProgram(Enemy *enemy)
{
    if (enemy->nmbrOfAIActions <= 0 || enemy->aiActions == nullptr)
        return;
    int newAction = enemy->curAction == -1;
    int advances = 0;
    if (newAction) {
        enemyAdvance(enemy);
        advances++;
    }
    while (advances <= enemy->nmbrOfAIActions) {
        if (!enemyHandleNode(enemy, enemy->aiActions[enemy->curAction], newAction))
            return;
        enemyAdvance(enemy);
        advances++;
        newAction = 1;
    }
}

// The vertical test at the old column: floors and ceilings (a stunned enemy
// bounces), water, or free fall.
static void enemyMoveVertically(Creature *c, int enemyXInt, int enemyNewYInt, float enemyNewY)
{
    const unsigned int collision = checkCollision(enemyXInt, enemyNewYInt, c);
    if (collision & COLLISION_SOLID) {
        if (c->state == STATE_STUNNED) {
            c->vy = (float)((double)c->vy * STUN_BOUNCE_FACTOR);
            if (c->vy > STUN_SETTLE_SPEED) {
                c->vy = 0;
                c->groundContact = 1;
            }
        } else {
            if (c->vy >= 0)
                c->groundContact = 1;
            c->vy = 0;
        }
    } else if (collision & COLLISION_WATER) {
        c->vx = clampToWaterSpeed(c->vx);
        c->vy = clampToWaterSpeed(c->vy);
        c->groundContact = 1;
        c->y = enemyNewY;
    } else {
        c->groundContact = 0;
        c->y = enemyNewY;
    }
}

// A stunned enemy on the ground slides to a stop.
static void enemySlide(Creature *c)
{
    if (c->state != STATE_STUNNED || c->groundContact != 1)
        return;
    c->vx = (float)((double)c->vx * SLIDE_FRICTION);
    if (c->vx > -SLIDE_STOP_SPEED && c->vx < SLIDE_STOP_SPEED)
        c->vx = 0;
}

// The horizontal test at the row from before the vertical move; a stunned
// enemy in the air bounces off walls, anything else stops.
static void enemyMoveHorizontally(Creature *c, int enemyNewXInt, int enemyYInt, float enemyNewX)
{
    const unsigned int collision = checkCollision(enemyNewXInt, enemyYInt, c);
    if (collision & COLLISION_SOLID) {
        if (c->state == STATE_STUNNED && c->groundContact == 0)
            c->vx = (float)((double)c->vx * WALL_BOUNCE_FACTOR);
        else
            c->vx = 0;
    } else {
        c->x = enemyNewX;
    }
}

// Gravity, then the vertical move, the slide and the horizontal move. The
// target is fixed before either test, so speed changes made by the tests
// (bounce, water, friction) take effect from the next step.
static void enemyMove(Creature *c)
{
    c->vy = (float)((double)c->vy + ENEMY_GRAVITY);

    const float enemyNewX = c->x + c->vx;
    const float enemyNewY = c->y + c->vy;
    const int enemyXInt = (int)floorf(c->x);
    const int enemyYInt = (int)floorf(c->y);
    const int enemyNewXInt = (int)floorf(enemyNewX);
    const int enemyNewYInt = (int)floorf(enemyNewY);

    enemyMoveVertically(c, enemyXInt, enemyNewYInt, enemyNewY);
    enemySlide(c);
    enemyMoveHorizontally(c, enemyNewXInt, enemyYInt, enemyNewX);
}

// Animation state and facing from the motion, each rule overriding the earlier ones.
static void enemyChooseState(Enemy *enemy)
{
    Creature *c = &enemy->creature;
    if (c->vx != 0 && c->groundContact == 1)
        c->state = STATE_WALK;
    if (c->vx == 0 && c->vy == 0 && c->groundContact == 1)
        c->state = STATE_IDLE;
    if (c->vx > 0)
        c->direction = 1;
    else if (c->vx < 0)
        c->direction = 0;
    if (c->groundContact == 0) {
        if (c->vy < 0)
            c->state = STATE_RISE;
        else if (c->vy == 0)
            c->state = STATE_APEX;
        else if (c->vy > 0)
            c->state = STATE_FALL;
    }
    if (enemy->confusedTime > 0)
        c->state = STATE_STUNNED;
}

// Knocks an enemy out: it flies up and falls out of the level.
static void enemyKnockOut(Enemy *enemy)
{
    enemy->creature.state = STATE_DYING;
    enemy->creature.vy = KNOCKOUT_LAUNCH_SPEED;
    enemy->carried = 0;
}

// A thrown enemy knocks out every enemy it overlaps that nobody carries, and
// itself with them; it stops counting as thrown once it is at rest.
static void enemyThrownTest(Enemy *enemy)
{
    for (EnemyList *node = EnemyListHead; node != nullptr; node = node->next) {
        Enemy *other = &node->mob;
        if (enemy->creature.vx == 0 && enemy->creature.vy == 0)
            enemy->thrown = 0;
        if (other == enemy || enemy->thrown == 0 || enemy->carried == 1 || other->carried == 1)
            continue;
        Box box1 = creatureBox(&enemy->creature);
        Box box2 = creatureBox(&other->creature);
        if (boxesCollide(&box1, &box2)) {
            enemyKnockOut(enemy);
            enemyKnockOut(other);
        }
    }
}

// A knocked-out enemy falls through everything and is dead once below the level.
static void enemyFallKnockedOut(Enemy *enemy)
{
    Creature *c = &enemy->creature;
    c->vy = (float)((double)c->vy + ENEMY_GRAVITY);
    c->x = c->x + c->vx;
    c->y = c->y + c->vy;
    if (c->y > (float)(curLvl.layer0.h * TILE_SIZE))
        enemy->dead = 1;
}

// One logic step of one enemy: its program, its motion, its state, and the
// knock-outs it causes when thrown.
void enemyUpdate(Enemy *enemy)
{
    if (enemy == nullptr || enemy->dead == 1)
        return;

    // A knocked-out enemy only falls off the screen.
    if (enemy->creature.state == STATE_DYING) {
        enemyFallKnockedOut(enemy);
        return;
    }

    // Carried: the player places it and it keeps its stun.
    if (enemy->carried == 1) {
        if (enemy->creature.state == STATE_STUNNED)
            enemyThrownTest(enemy);
        return;
    }

    // The program pauses while stunned.
    if (enemy->confusedTime == 0)
        enemyRunProgram(enemy);

    enemyMove(&enemy->creature);

    if (enemy->confusedTime > 0)
        enemy->confusedTime--;

    // A stunned enemy may be a thrown one, which knocks out what it touches.
    enemyChooseState(enemy);
    if (enemy->creature.state == STATE_STUNNED)
        enemyThrownTest(enemy);
}
