#include "enemy.h"

EnemyList *EnemyListHead = nullptr;

// ---- the list and its records ----

EnemyList *prependElement(EnemyList *, int, int, int)
{
    return nullptr;
}

void cleanList(EnemyList *) {}

void enemyDelete(EnemyList *) {}

// ---- updating and drawing the list ----

void enemyUpdateAll(void) {}

void enemyDrawAll(void) {}

int isEnemyTooFarAway(Enemy *)
{
    return 0;
}

void enemyDraw(Enemy *) {}

// ---- behaviour programs and motion ----

void enemyUpdate(Enemy *) {}
