// Opening files to read only when they are regular files: a FIFO would block
// the game until something wrote to it, a device such as /dev/zero never ends,
// and a folder holds nothing to read.
#pragma once
#include <cstdio>

// Opens filename for reading like fopen(filename, "r"), following links, but
// only when what it reaches is a regular file; nullptr otherwise. Never
// blocks on a FIFO, and the file checked is the very one opened.
FILE *fopenRegular(const char *filename);

// 1 when filename, links followed, names a regular file. For readers that must
// open the file by name themselves (SDL's image loader).
int isRegularFile(const char *filename);
