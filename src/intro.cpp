#include "intro.h"

int introController = 0;

int introUpdate(void)
{
    return 0;
}

void introDraw(void) {}
