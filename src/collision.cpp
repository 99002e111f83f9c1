#include "collision.h"

int isPixelInsideBox(Box *, int, int)
{
    return 0;
}

int boxesCollide(Box *, Box *)
{
    return 0;
}

unsigned int checkCollision(int, int, Creature *)
{
    return 0;
}
