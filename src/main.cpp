#include "main.h"
#include "global.h"

int quit = 0;
char *mapFile = nullptr;
char *mapFileNext = nullptr;
int _resetFrameSkip = 0;

void resetFrameSkip(void)
{
    _resetFrameSkip = 1;
}

int gameMain(int, char **)
{
    return 0;
}
