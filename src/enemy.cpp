// Enemies in play: each step's update of the list, the behaviour programs
// and motion, and drawing. Making and freeing them is in enemy_list.cpp.
#include "enemy.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "animation.h"
#include "camera.h"
#include "collision.h"
#include "map.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "sound.h"

// ---- updating and drawing the list ----

// How far beyond half the screen an enemy's centre may be from the camera's
// centre and still be updated, in pixels.
const int ACTIVITY_MARGIN = 48;

// Frees a dead enemy just taken out of the list at place, or keeps it aside
// while a level is played for a test.
static void enemyRemoveDead(EnemyList *node, int place)
{
    if (!enemyDeadKept) {
        enemyDelete(node);
        return;
    }
    node->next = nullptr;
    node->id = place;
    enemyInsertAt(enemyDeadKept, node, 0);
}

// One logic step for the whole list: enemies near the camera (and knocked-out
// ones wherever they are) move; frozen ones lose their stun; the dead are
// unlinked and freed in the same step, so they are never drawn dead.
void enemyUpdateAll(void)
{
    EnemyList *enemyListLast = nullptr;
    EnemyList *node = EnemyListHead;
    int place = 0;
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
            enemyRemoveDead(node, place);
        } else {
            enemyListLast = node;
            place++;
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
            soundPlay(SOUND_KNOCK_OUT);
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
