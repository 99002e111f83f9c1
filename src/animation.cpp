#include "animation.h"

void initAnim(animStruct *, const char *, int, int, int, int) {}
void setAnim(int, int, animFrame *, ...) {}
void freeAnim(animStruct *) {}
