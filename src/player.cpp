// The player: the monkey's physics, its contacts with enemies, the key and the
// exit, and its drawing. Speeds are pixels per logic step, timers logic steps.
#include "player.h"

#include <cmath>
#include <cstring>

#include "animation.h"
#include "camera.h"
#include "collision.h"
#include "enemy.h"
#include "fileio.h"
#include "input.h"
#include "map.h"
#include "sdldraw.h"
#include "sound.h"

Creature player;
int ignoreKeys = 0;
int hackPlayerIsInWater = 0;
Enemy *enemyCarried = nullptr;
int dontPickupEnemyTimer = 0;
int invincibilityTimer = 0;
int hasKey = 0;

// The monkey's sprite sheet: 16 x 16 cells, 16 per row, a full sheet of cells.
static const char *const PLAYER_SHEET = "data/gfx/monkeyAni.bmp";
static const char *const PLAYER_DEFINITION = "data/mobs/monkey.dat";
const int PLAYER_CELL_SIZE = 16;

// Tuning of the feel. Those typed double are applied in double precision and
// stored back as float; those typed float are applied in float.
const double GRAVITY = 0.1;                   // added to vy every step, px/step
const float GROUND_FRICTION = 0.5f;           // vx factor per step on the ground
const double GROUND_STOP_SPEED = 0.1;         // |vx| below this on the ground stops, px/step
const double AIR_DRAG = 0.99;                 // vx factor per step in the air
const double GROUND_ACCELERATION = 0.6;       // vx change per step with a direction held, px/step
const double AIR_ACCELERATION = 0.1;          // the same in the air, px/step
const double MAX_WALK_SPEED = 1.2;            // limit of |vx| from walking, px/step
const float JUMP_SPEED = -2.6f;               // vy of a jump from the ground, px/step
const float SWIM_STROKE_SPEED = -2.0f;        // vy of a stroke in water, px/step
const float WALL_JUMP_UP_SPEED = -2.0f;       // vy of a wall jump, px/step
const float WALL_JUMP_OFF_SPEED = 1.0f;       // |vx| away from the wall, px/step
const int WALL_PROBE_DISTANCE = 2;            // how far a wall may be from the box, px
const double WALL_JUMP_MAX_FALL_SPEED = 1.5;  // no wall jump when falling faster, px/step
const int WALL_JUMP_LOCK_STEPS = 10;          // left/right ignored after a wall jump, steps
const int INVINCIBILITY_STEPS = 120;          // invulnerable after a hit, steps
const int STOMP_STUN_STEPS = 300;             // a stomped enemy's stun, steps
const float STOMP_BOUNCE_SPEED = -1.3f;       // player's vy after a stomp, px/step
const float CARRY_OFFSET = 8.0f;              // carried enemy's centre ahead of and above the player's, px
const double THROW_SPEED = 1.0;               // thrown enemy's own |vx|, px/step
const double THROW_INHERIT = 0.5;             // share of the player's vx a throw adds
const float THROW_LIFT = 1.0f;                // thrown enemy's vy is the player's minus this, px/step
const int THROWN_STUN_STEPS = 360;            // stun of a thrown or dropped enemy, steps
const int PICKUP_LOCK_STEPS = 20;             // no pickup after a throw or drop, steps
const int BLINK_PHASE_STEPS = 10;             // shown / hidden phase while invulnerable, steps

// ---- start of a game ----

// The health the definition gives, taken when it is read: a game started
// again without reading it anew starts with this.
static int playerFullHealth = 0;

// Gives the player a fresh sheet and definition. The previous game's sheet
// and frame lists are released first, so that starting game after game does
// not grow memory.
void playerLoad(void)
{
    freeAnim(&player.animation);
    player.animation.currentFrame = 0;
    player.animation.waitFrame = 0;
    player.animation.oldState = 0;
    initAnim(&player.animation, PLAYER_SHEET, PLAYER_CELL_SIZE, PLAYER_CELL_SIZE, SHEET_CELLS_PER_ROW,
             TILE_COUNT);
    loadMobConfig(&player, PLAYER_DEFINITION);
    playerFullHealth = player.hp;
}

void playerPlaceAt(float x, float y)
{
    creaturePlaceAtRest(&player, x, y);
    player.hp = playerFullHealth;
    ignoreKeys = 0;
    hackPlayerIsInWater = 0;
    enemyCarried = nullptr;
    dontPickupEnemyTimer = 0;
    invincibilityTimer = 0;
    hasKey = 0;
}

// Places the player at the level's start tile with a fresh sheet and definition.
void playerInit(void)
{
    playerLoad();
    playerPlaceAt((float)(curLvl.start.x * TILE_SIZE), (float)(curLvl.start.y * TILE_SIZE));
}

// ---- one logic step ----

// 1 once the player has no health left. A definition with negative health
// counts as dead too, rather than making the player immortal.
static int playerIsDead(void)
{
    return player.hp <= 0;
}

// Costs one point of health unless the player is still invulnerable from the last hit.
static void playerHurt(SoundEffect sound)
{
    if (invincibilityTimer != 0)
        return;
    invincibilityTimer = INVINCIBILITY_STEPS;
    player.hp = player.hp - 1;
    soundPlay(sound);
}

// A dying player falls through everything; below the level the game is over.
static void playerFallDead(void)
{
    player.y = player.y + player.vy;
    if (player.y > (float)(curLvl.layer0.h * TILE_SIZE)) {
        ingameState = INGAME_GAME_OVER;
        soundPlay(SOUND_GAME_OVER);
    }
}

// Ground friction (with a stop at low speed) or air drag, by last step's ground contact.
static void playerApplyFriction(void)
{
    if (player.groundContact == 1) {
        player.vx = player.vx * GROUND_FRICTION;
        if (player.vx > -GROUND_STOP_SPEED && player.vx < GROUND_STOP_SPEED)
            player.vx = 0;
    } else {
        player.vx = (float)((double)player.vx * AIR_DRAG);
    }
}

// Left and right accelerate up to the walking speed limit; locked after a wall jump.
static void playerWalkInput(void)
{
    if (ignoreKeys != 0) {
        ignoreKeys--;
        return;
    }
    const double acceleration = player.groundContact == 1 ? GROUND_ACCELERATION : AIR_ACCELERATION;
    if (keyPress.key[LEFT] == 1) {
        player.vx = (float)((double)player.vx - acceleration);
        if (player.vx < -MAX_WALK_SPEED)
            player.vx = (float)-MAX_WALK_SPEED;
    }
    if (keyPress.key[RIGHT] == 1) {
        player.vx = (float)((double)player.vx + acceleration);
        if (player.vx > MAX_WALK_SPEED)
            player.vx = (float)MAX_WALK_SPEED;
    }
}

// 1 if the box, shifted by dx, would touch solid pixels and nothing else.
static int playerWallAt(int dx)
{
    const int playerXInt = (int)floorf(player.x);
    const int playerYInt = (int)floorf(player.y);
    return checkCollision(playerXInt + dx, playerYInt, &player) == COLLISION_SOLID;
}

// Kicks off a wall close beside the player when the direction away from it is held.
static void playerWallJump(void)
{
    float awayFromWall = 0;
    if (keyPress.key[LEFT] == 1 && playerWallAt(WALL_PROBE_DISTANCE))
        awayFromWall = -WALL_JUMP_OFF_SPEED;
    else if (keyPress.key[RIGHT] == 1 && playerWallAt(-WALL_PROBE_DISTANCE))
        awayFromWall = WALL_JUMP_OFF_SPEED;
    else
        return;
    player.vy = WALL_JUMP_UP_SPEED;
    player.vx = awayFromWall;
    keyPress.key[JUMP] = 0;
    ignoreKeys = WALL_JUMP_LOCK_STEPS;
    soundPlay(SOUND_JUMP);
}

// Jump from the ground, swim stroke in water (kept while held), or wall jump in the air.
static void playerJumpInput(void)
{
    if (keyPress.key[JUMP] == 0)
        return;
    if (player.groundContact == 1 || hackPlayerIsInWater == 1) {
        if (hackPlayerIsInWater == 1) {
            player.vy = SWIM_STROKE_SPEED;
        } else {
            player.vy = JUMP_SPEED;
            keyPress.key[JUMP] = 0;
            soundPlay(SOUND_JUMP);
        }
        player.groundContact = 0;
    } else if (player.vy <= WALL_JUMP_MAX_FALL_SPEED) {
        playerWallJump();
    }
}

// The vertical test at the old column: landing, ceilings, water and hazards.
static void playerMoveVertically(int playerXInt, int playerNewYInt, float playerNewY)
{
    const unsigned int collision = checkCollision(playerXInt, playerNewYInt, &player);
    const int inWater = (collision & COLLISION_WATER) != 0;

    // Entering or leaving water needs a fresh press of the jump button.
    if (inWater != (hackPlayerIsInWater == 1))
        keyPress.key[JUMP] = 0;
    if (inWater && hackPlayerIsInWater == 0)
        soundPlay(SOUND_SPLASH);

    if (collision & COLLISION_SOLID) {
        if (player.vy >= 0) {
            player.groundContact = 1;
            ignoreKeys = 0;
        }
        player.vy = 0;
    } else {
        player.groundContact = 0;
        player.y = playerNewY;
    }
    hackPlayerIsInWater = 0;

    if (inWater) {
        player.vx = clampToWaterSpeed(player.vx);
        player.vy = clampToWaterSpeed(player.vy);
        player.groundContact = 1;
        ignoreKeys = 0;
        hackPlayerIsInWater = 1;
    }

    if (collision & COLLISION_HAZARD)
        playerHurt(SOUND_HAZARD);
}

// The horizontal test at the row from before the vertical move: walls, the exit, hazards.
static void playerMoveHorizontally(int playerNewXInt, int playerYInt, float playerNewX)
{
    const unsigned int collision = checkCollision(playerNewXInt, playerYInt, &player);

    if (collision & COLLISION_SOLID) {
        player.vx = 0;
        ignoreKeys = 0;
    } else {
        player.x = playerNewX;
    }

    if ((collision & COLLISION_EXIT) && hasKey == 1 && newGameMode != MODE_WON) {
        newGameMode = MODE_WON;
        soundPlay(SOUND_DOOR);
    }

    if (collision & COLLISION_HAZARD)
        playerHurt(SOUND_HAZARD);
}

// Forgets an enemy that let go of itself and runs the pickup and hit timers down.
static void playerCountDown(void)
{
    if (enemyCarried != nullptr && enemyCarried->carried == 0)
        enemyCarried = nullptr;
    if (dontPickupEnemyTimer > 0)
        dontPickupEnemyTimer--;
    if (invincibilityTimer > 0)
        invincibilityTimer--;
}


// 1 if the player lands on the enemy: falling faster than it, bottom edge above its middle, not a shell.
static int playerStomps(Enemy *enemy)
{
    Creature *c = &enemy->creature;
    return player.vy > c->vy && (float)player.h + player.y < (float)(c->h / 2) + c->y &&
           enemy->type != ENEMY_TYPE_SHELL;
}

// One contact with an enemy; returns 1 if the player bounces off it.
static int playerTouchEnemy(Enemy *enemy)
{
    if (enemy->type == ENEMY_TYPE_KEY) {
        if (hasKey == 0)
            soundPlay(SOUND_KEY);
        enemy->dead = 1;
        hasKey = 1;
        return 0;
    }
    if (enemy->creature.state == STATE_DYING)
        return 0;
    if (enemy->confusedTime > 0) {
        if (enemyCarried == nullptr && dontPickupEnemyTimer == 0) {
            enemyCarried = enemy;
            enemy->carried = 1;
            soundPlay(SOUND_PICKUP);
        }
        return 0;
    }
    if (playerStomps(enemy)) {
        enemy->confusedTime = STOMP_STUN_STEPS;
        enemy->creature.vx = 0;
        soundPlay(SOUND_STOMP);
        return 1;
    }
    playerHurt(SOUND_HURT);
    return 0;
}

// Every enemy overlapping the player, in list order; returns 1 if any was stomped.
static int playerTouchEnemies(void)
{
    int playerBounced = 0;
    Box playerBox = creatureBox(&player);
    for (EnemyList *node = EnemyListHead; node != nullptr; node = node->next) {
        Box enemyBox = creatureBox(&node->mob.creature);
        if (boxesCollide(&playerBox, &enemyBox) && playerTouchEnemy(&node->mob))
            playerBounced = 1;
    }
    return playerBounced;
}

// Lets go of the carried enemy, stunned, and locks pickups for a while.
static void playerReleaseCarried(void)
{
    enemyCarried->carried = 0;
    enemyCarried->confusedTime = THROWN_STUN_STEPS;
    enemyCarried = nullptr;
    dontPickupEnemyTimer = PICKUP_LOCK_STEPS;
}

// The last hit: the player starts dying and drops what it carries.
static void playerCheckDeath(void)
{
    if (!playerIsDead())
        return;
    ingameState = INGAME_DYING;
    player.state = STATE_DYING;
    if (enemyCarried != nullptr)
        playerReleaseCarried();
}

// Holds the carried enemy's centre ahead of and above the player's centre;
// "ahead" is the facing last chosen while drawing the player.
static void playerPlaceCarried(void)
{
    if (enemyCarried == nullptr)
        return;
    Creature *c = &enemyCarried->creature;
    const float ahead = player.direction == 1 ? CARRY_OFFSET : -CARRY_OFFSET;
    c->x = ((float)(player.w / 2) + player.x + ahead) - (float)(c->w / 2);
    c->y = ((float)(player.h / 2) + player.y - CARRY_OFFSET) - (float)(c->h / 2);
}

// The action button throws the carried enemy if its place is entirely free; the press is always consumed.
static void playerThrow(void)
{
    if (keyPress.key[ACTION] == 0)
        return;
    keyPress.key[ACTION] = 0;
    if (enemyCarried == nullptr)
        return;
    Enemy *enemy = enemyCarried;
    Box place = creatureBox(&enemy->creature);
    if (checkCollision(place.x, place.y, &enemy->creature) != 0)
        return;
    const double ownSpeed = player.direction == 1 ? THROW_SPEED : -THROW_SPEED;
    enemy->creature.vx = (float)(ownSpeed + THROW_INHERIT * (double)player.vx);
    enemy->creature.vy = player.vy - THROW_LIFT;
    enemy->thrown = 1;
    playerReleaseCarried();
    soundPlay(SOUND_THROW);
}

// One logic step of the player and its contacts with enemies, the key and the exit.
void playerUpdate(void)
{
    player.vy = (float)((double)player.vy + GRAVITY);

    // A dying player only falls.
    if (playerIsDead()) {
        playerFallDead();
        return;
    }

    playerApplyFriction();
    playerWalkInput();
    playerJumpInput();

    // The candidate move is taken from the position before this step.
    const float playerNewX = player.x + player.vx;
    const float playerNewY = player.y + player.vy;
    const int playerXInt = (int)floorf(player.x);
    const int playerYInt = (int)floorf(player.y);
    const int playerNewXInt = (int)floorf(playerNewX);
    const int playerNewYInt = (int)floorf(playerNewY);

    // Vertical move first, then the horizontal one, tested on the row the step started on.
    playerMoveVertically(playerXInt, playerNewYInt, playerNewY);
    playerMoveHorizontally(playerNewXInt, playerYInt, playerNewX);

    playerCountDown();

    const int playerBounced = playerTouchEnemies();

    playerCheckDeath();

    // Bounce off a stomped enemy.
    if (playerBounced == 1)
        player.vy = STOMP_BOUNCE_SPEED;

    playerPlaceCarried();
    playerThrow();
}

// ---- drawing ----

// Picks the animation state and facing from the motion; a dying state stays while none applies.
// Drawing feeds the logic here: the facing chosen while drawing is the one the
// next logic steps use to hold a carried enemy ahead of the player and to throw
// it, so a step that is not drawn leaves the facing as it was.
static void playerChooseState(void)
{
    const int movingKey = keyPress.key[LEFT] != 0 || keyPress.key[RIGHT] != 0;
    if ((player.vx != 0 || movingKey) && player.groundContact != 0)
        player.state = STATE_WALK;
    if (player.vx == 0 && player.vy == 0 && player.groundContact != 0)
        player.state = STATE_IDLE;
    if (player.vx > 0)
        player.direction = 1;
    if (player.vx < 0)
        player.direction = 0;
    if (player.vy < 0 && player.groundContact == 0)
        player.state = STATE_RISE;
    if (player.vy > 0 && player.groundContact == 0)
        player.state = STATE_FALL;
}

// 1 in the hidden phases of the blinking after a hit. Only a living player
// blinks: the last hit leaves the timer running, yet the falling player must
// be seen for the whole fall.
static int playerBlinkHidden(void)
{
    if (ingameState == INGAME_DYING)
        return 0;
    return (invincibilityTimer / BLINK_PHASE_STEPS) % 2 == 1;
}

// Chooses the player's animation state and draws it through the camera,
// blinking while invulnerable and alive.
void playerDraw(void)
{
    playerChooseState();
    if (playerBlinkHidden())
        return;
    SDL_Rect coord;
    coord.x = (Sint16)(int)(floorf(player.x) - (float)camera.x);
    coord.y = (Sint16)(int)(floorf(player.y) - (float)camera.y);
    coord.w = (Uint16)player.w;
    coord.h = (Uint16)player.h;
    drawAnim(&player, coord, player.state, player.direction);
}

void playerReset(void)
{
    freeAnim(&player.animation);
    memset(&player, 0, sizeof player);
    playerFullHealth = 0;
    enemyCarried = nullptr;
    ignoreKeys = hackPlayerIsInWater = dontPickupEnemyTimer = invincibilityTimer = hasKey = 0;
}
