#include "map.h"

levelMap curLvl;

int initMapArray(mapLayer *)
{
    return 1;
}

void fillMapArray(mapLayer *, int) {}

void returnColArray(unsigned char out[16][16], int x, int y)
{
    for (int r = 0; r < 16; r++)
        for (int c = 0; c < 16; c++)
            out[r][c] = curLvl.layer0.colLayer[curLvl.layer0.array[x][y]][r][c];
}

int freeMapArray(unsigned char **, int)
{
    return 0;
}

int freeMap(void)
{
    return 0;
}
