#include "tools.h"

void extractCollisionData(const char *, const char *) {}
