// The player: the monkey the user controls.
#pragma once
#include "creature.h"

struct Enemy;

extern Creature player;
extern int ignoreKeys;          // steps left with left/right ignored (after a wall jump)
extern int hackPlayerIsInWater; // 1 if in water at the end of the previous step
extern Enemy *enemyCarried;     // the enemy being carried, or null
extern int dontPickupEnemyTimer;
extern int invincibilityTimer;  // steps of invulnerability left after a hit
extern int hasKey;              // 1 once the key has been collected

// Releases the player's animation and clears the player and every player
// global, as at start-up.
void playerReset(void);

// Prepares the player for a new game in the level just loaded: loaded, and
// placed at the level's start.
void playerInit(void);

// Reads the player's sprite sheet and definition afresh.
void playerLoad(void);

// Puts the loaded player at level pixel (x, y) with full health, at rest,
// facing right, holding nothing, as a game starts.
void playerPlaceAt(float x, float y);

// One logic step of the player and its contacts with enemies.
void playerUpdate(void);

// Chooses the player's animation state and draws it.
void playerDraw(void);
