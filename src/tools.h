// The collision extraction tool behind -extract.
#pragma once

// Reads a colour-coded tileset bitmap and writes its collision layer file.
void extractCollisionData(const char *input, const char *output);
