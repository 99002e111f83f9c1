#include "player.h"

Creature player;
int ignoreKeys = 0;
int hackPlayerIsInWater = 0;
Enemy *enemyCarried = nullptr;
int dontPickupEnemyTimer = 0;
int invincibilityTimer = 0;
int hasKey = 0;

void playerInit(void) {}
void playerUpdate(void) {}
void playerDraw(void) {}
